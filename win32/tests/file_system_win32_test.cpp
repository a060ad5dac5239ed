// The Win32 file-system service on real files, run under Wine: the rules every service keeps
// (the contract suite), and what only real Windows files do.
#include "file_system_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "error_text.h"
#include "file_system_contract.h"
#include "sparse_file.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using fsys::ReadStatus;
using win32::testing::MakeSparseFile;

// An open handle that shares nothing, as a virus scanner or the game may hold a file.
class ExclusiveOpen {
 public:
  explicit ExclusiveOpen(const fs::path& path)
      : m_handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~ExclusiveOpen() { Release(); }
  ExclusiveOpen(const ExclusiveOpen&) = delete;
  ExclusiveOpen& operator=(const ExclusiveOpen&) = delete;

  bool held() const { return m_handle != INVALID_HANDLE_VALUE; }
  void Release() {
    if (held()) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE m_handle;
};

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    m_folder = fs::temp_directory_path() / ("fsys-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
                                           std::to_string(GetTickCount64()) + "-" + info->name());
    fs::create_directories(m_folder);
    m_ini = m_folder / "VRND.INI";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
  }

  // Names in the folder other than the settings file: temporary files left behind.
  int StrayFiles() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(m_folder)) count += entry.path() != m_ini;
    return count;
  }

  std::string Contents(const fs::path& path) const { return m_files.ReadFile(path, 1 << 20).bytes; }

  fs::path m_folder;
  fs::path m_ini;
  win32::Win32FileSystem m_files;
};

// A temporary folder of its own for each case of the contract suite.
struct Win32Backend {
  Win32Backend() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = fs::temp_directory_path() / ("fsys-contract-" + std::to_string(GetCurrentProcessId()) + "-" + info->name());
    fs::create_directories(folder);
  }
  ~Win32Backend() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  win32::Win32FileSystem files;
  fs::path folder;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, FileSystemContract, Win32Backend);

TEST_F(Win32FileSystemTest, AFolderOfTheFilesNameIsUnreadableAndNotReplaced) {
  fs::create_directory(m_ini);
  EXPECT_EQ(m_files.ReadFile(m_ini, 1024).status, ReadStatus::Unreadable);
  EXPECT_FALSE(m_files.Replace(m_ini, "new"));
  EXPECT_TRUE(fs::is_directory(m_ini));
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, WaitsForAFileHeldOpenForAMoment) {
  ASSERT_TRUE(m_files.Replace(m_ini, "old"));
  ExclusiveOpen scanner(m_ini);
  ASSERT_TRUE(scanner.held());
  std::thread release([&] {
    Sleep(300);
    scanner.Release();
  });
  const bool replaced = static_cast<bool>(m_files.Replace(m_ini, "new"));
  release.join();
  EXPECT_TRUE(replaced);
  EXPECT_EQ(Contents(m_ini), "new");
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, GivesUpOnAFileHeldOpenForGoodAndKeepsIt) {
  ASSERT_TRUE(m_files.Replace(m_ini, "old"));
  {
    ExclusiveOpen game(m_ini);
    ASSERT_TRUE(game.held());
    EXPECT_EQ(m_files.Replace(m_ini, "new").cause, fsys::Cause::Held);
    const fsys::ReadResult read = m_files.ReadFile(m_ini, 1024);
    EXPECT_EQ(read.status, ReadStatus::Unreadable);
    EXPECT_EQ(read.cause, fsys::Cause::Held);
  }
  EXPECT_EQ(Contents(m_ini), "old");
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, AReplaceKeepsTheFilesAttributes) {
  ASSERT_TRUE(m_files.Replace(m_ini, "old"));
  ASSERT_TRUE(SetFileAttributesW(m_ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(m_files.Replace(m_ini, "new"));
  EXPECT_EQ(Contents(m_ini), "new");
  EXPECT_TRUE(GetFileAttributesW(m_ini.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, AReadOnlyFileIsReportedAtOnceAndKept) {
  ASSERT_TRUE(m_files.Replace(m_ini, "old"));
  ASSERT_TRUE(SetFileAttributesW(m_ini.c_str(), FILE_ATTRIBUTE_READONLY));
  const ULONGLONG start = GetTickCount64();
  const fsys::WriteResult written = m_files.Replace(m_ini, "new");
  EXPECT_EQ(written, fsys::WriteStatus::ReadOnly);
  EXPECT_EQ(written.cause, fsys::Cause::ReadOnly);
  EXPECT_LT(GetTickCount64() - start, 200u);  // no second of retries
  EXPECT_EQ(Contents(m_ini), "old");
  EXPECT_EQ(StrayFiles(), 0);
  SetFileAttributesW(m_ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Win32FileSystemTest, FinishingCutShortReplacesRestoresTheNewestCompleteCopyAndRemovesTheRest) {
  struct Case {
    const char* name;
    const char* ini;  // nullptr: missing
    std::vector<std::pair<std::wstring, std::string>> left;  // beside it, oldest first
    const char* after;  // nullptr: still missing
    int strays;         // files beside it afterwards
  };
  const Case cases[] = {
      {"the file is there: every copy goes", "old", {{L"VRND.INI.7.100.3.tmp", "new"}, {L"VRND.INI.7.90.tmp", "x"}},
       "old", 0},
      {"missing: the newest complete copy", nullptr,
       {{L"VRND.INI.7.100.3.tmp", "one"}, {L"VRND.INI.8.200.3.tmp", "two"}, {L"VRND.INI.9.300.5.tmp", "cut"}},
       "two", 0},
      {"missing, no complete copy: all kept", nullptr, {{L"VRND.INI.9.300.5.tmp", "cut"}, {L"VRND.INI.9.1.tmp", "x"}},
       nullptr, 2},
      {"not ours: kept", "old", {{L"VRND.INI.bak.tmp", "b"}, {L"VRND.INI.1.2.3.4.tmp", "c"}}, "old", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& entry : fs::directory_iterator(m_folder)) fs::remove(entry.path());
    if (c.ini) {
      ASSERT_TRUE(m_files.Replace(m_ini, c.ini));
    }
    for (const auto& [name, bytes] : c.left) {
      ASSERT_TRUE(m_files.WriteAtStart(m_folder / name, bytes));
      Sleep(20);  // distinct write times
    }
    m_files.FinishReplaces(m_ini);
    EXPECT_EQ(m_files.ReadFile(m_ini, 1024).status, c.after ? ReadStatus::Ok : ReadStatus::Missing);
    if (c.after) {
      EXPECT_EQ(Contents(m_ini), c.after);
    }
    EXPECT_EQ(StrayFiles(), c.strays);
  }
}

// Folders made through the "\\?\" form (the plain form stops at MAX_PATH), removed again the
// same way, deepest first.
class DeepFolders {
 public:
  explicit DeepFolders(const fs::path& base) : m_path(LR"(\\?\)" + base.lexically_normal().make_preferred().wstring()) {}
  ~DeepFolders() {
    DeleteFileW((m_path + L"\\VRND.INI").c_str());
    for (; !m_made.empty(); m_made.pop_back()) RemoveDirectoryW(m_made.back().c_str());
  }
  DeepFolders(const DeepFolders&) = delete;
  DeepFolders& operator=(const DeepFolders&) = delete;

  bool Add(const std::wstring& name) {
    m_path += L"\\" + name;
    if (!CreateDirectoryW(m_path.c_str(), nullptr)) return false;
    m_made.push_back(m_path);
    return true;
  }
  // As the program builds it, without the prefix.
  fs::path Plain() const { return m_path.substr(4); }

 private:
  std::wstring m_path;
  std::vector<std::wstring> m_made;
};

TEST_F(Win32FileSystemTest, WorksInFoldersBeyondMaxPath) {
  DeepFolders deep(m_folder);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(deep.Add(std::wstring(40, static_cast<wchar_t>(L'a' + i))));
  ASSERT_TRUE(deep.Add(L"ゲーム"));
  const fs::path ini = deep.Plain() / "VRND.INI";
  ASSERT_GT(ini.native().size(), static_cast<std::size_t>(MAX_PATH));
  ASSERT_TRUE(m_files.Replace(ini, "x=1"));
  ASSERT_TRUE(m_files.Replace(ini, "x=2"));
  EXPECT_EQ(Contents(ini), "x=2");
}

TEST_F(Win32FileSystemTest, WorkingFolderIsTheCurrentFolder) {
  EXPECT_EQ(m_files.WorkingFolder(), fs::current_path());
}

// ---- Whole-file moves (the save-file swap) -------------------------------------------------


TEST_F(Win32FileSystemTest, InspectTellsTheLengthOfAHugeFileThatTheGameHoldsOpen) {
  ASSERT_TRUE(MakeSparseFile(m_folder / "huge.dat", 5LL << 30));  // beyond 32 bits
  ExclusiveOpen game(m_folder / "huge.dat");
  const fsys::FileInfo info = m_files.Inspect(m_folder / "huge.dat");
  EXPECT_EQ(info.kind, fsys::FileInfo::Kind::File);
  EXPECT_EQ(info.length, 5ULL << 30);
}

TEST_F(Win32FileSystemTest, AMoveRefusedWhileAnotherProgramHoldsTheFileSaysSoInJapanese) {
  const fs::path live = m_folder / "save.dat", empty = m_folder / "save3.dat";
  ASSERT_TRUE(m_files.Replace(live, "A"));
  ASSERT_TRUE(MakeSparseFile(empty, 0));
  ExclusiveOpen game(live), scanner(empty);
  ASSERT_TRUE(game.held() && scanner.held());
  const DWORD started = GetTickCount();
  const fsys::FileOutcome rename = m_files.RenameNew(live, m_folder / "save2.dat");
  const fsys::FileOutcome remove = m_files.RemoveEmpty(empty);
  EXPECT_LT(GetTickCount() - started, 2 * 1000u) << "each gives up well under a second";
  EXPECT_FALSE(rename.ok);
  EXPECT_FALSE(remove.ok);
  EXPECT_EQ(rename.cause, fsys::Cause::Held);
  EXPECT_EQ(remove.cause, fsys::Cause::Held);
  for (const std::string& error : {rename.error, remove.error}) {
    EXPECT_TRUE(std::any_of(error.begin(), error.end(), [](char c) { return (c & 0x80) != 0; })) << error;
  }
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(empty));
}

TEST_F(Win32FileSystemTest, AMoveWaitsForAFileHeldForAMoment) {
  const fs::path live = m_folder / "save.dat", empty = m_folder / "save3.dat";
  ASSERT_TRUE(m_files.Replace(live, "A"));
  ASSERT_TRUE(MakeSparseFile(empty, 0));
  ExclusiveOpen scanner(live), indexer(empty);
  std::thread release([&] {
    Sleep(100);
    scanner.Release();
    indexer.Release();
  });
  const bool renamed = m_files.RenameNew(live, m_folder / "save2.dat").ok;
  const bool removed = m_files.RemoveEmpty(empty).ok;
  release.join();
  EXPECT_TRUE(renamed);
  EXPECT_TRUE(removed);
  EXPECT_EQ(Contents(m_folder / "save2.dat"), "A");
}

TEST(ErrorTextTest, IsJapaneseForTheErrorsOfFileMoves) {
  const auto japanese = [](const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; }) && !text.ends_with("\n");
  };
  for (const DWORD code : {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_ACCESS_DENIED, ERROR_PATH_NOT_FOUND,
                           ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL, ERROR_ALREADY_EXISTS, ERROR_FILE_EXISTS}) {
    EXPECT_TRUE(japanese(win32::ErrorText(code))) << code << win32::ErrorText(code);
    EXPECT_TRUE(japanese(win32::FallbackErrorText(code))) << code;
  }
  EXPECT_NE(win32::FallbackErrorText(12345).find("12345"), std::string::npos) << "an unknown code is named";
}

TEST_F(Win32FileSystemTest, AFolderWeMayChangeIsProbedWithoutATraceAndItsVirtualStoreIsUnderLocalAppData) {
  EXPECT_EQ(m_files.CanChange(m_folder), fsys::Cause::None);
  EXPECT_TRUE(fs::is_empty(m_folder));
  EXPECT_NE(m_files.CanChange(m_folder / "none"), fsys::Cause::None);
  const auto store = m_files.VirtualStoreOf(LR"(C:\Program Files (x86)\CrossGate)");
  ASSERT_TRUE(store.has_value());
  EXPECT_EQ(store->folder, fs::path(_wgetenv(L"LOCALAPPDATA")) / L"VirtualStore" / L"Program Files (x86)" / L"CrossGate");
  EXPECT_EQ(store->shown, R"(%LOCALAPPDATA%\VirtualStore\Program Files (x86)\CrossGate)");
  EXPECT_FALSE(m_files.VirtualStoreOf(LR"(\\server\share\CrossGate)").has_value()) << "no network folder is virtualized";
}

}  // namespace
