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
      : handle_(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~ExclusiveOpen() { Release(); }
  ExclusiveOpen(const ExclusiveOpen&) = delete;
  ExclusiveOpen& operator=(const ExclusiveOpen&) = delete;

  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("fsys-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
                                           std::to_string(GetTickCount64()) + "-" + info->name());
    fs::create_directories(folder_);
    ini_ = folder_ / "VRND.INI";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // Names in the folder other than the settings file: temporary files left behind.
  int StrayFiles() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder_)) count += entry.path() != ini_;
    return count;
  }

  std::string Contents(const fs::path& path) const { return files_.ReadFile(path, 1 << 20).bytes; }

  fs::path folder_;
  fs::path ini_;
  win32::Win32FileSystem files_;
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
  fs::create_directory(ini_);
  EXPECT_EQ(files_.ReadFile(ini_, 1024).status, ReadStatus::Unreadable);
  EXPECT_FALSE(files_.Replace(ini_, "new"));
  EXPECT_TRUE(fs::is_directory(ini_));
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, WaitsForAFileHeldOpenForAMoment) {
  ASSERT_TRUE(files_.Replace(ini_, "old"));
  ExclusiveOpen scanner(ini_);
  ASSERT_TRUE(scanner.held());
  std::thread release([&] {
    Sleep(300);
    scanner.Release();
  });
  const bool replaced = static_cast<bool>(files_.Replace(ini_, "new"));
  release.join();
  EXPECT_TRUE(replaced);
  EXPECT_EQ(Contents(ini_), "new");
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, GivesUpOnAFileHeldOpenForGoodAndKeepsIt) {
  ASSERT_TRUE(files_.Replace(ini_, "old"));
  {
    ExclusiveOpen game(ini_);
    ASSERT_TRUE(game.held());
    EXPECT_FALSE(files_.Replace(ini_, "new"));
    EXPECT_EQ(files_.ReadFile(ini_, 1024).status, ReadStatus::Unreadable);
  }
  EXPECT_EQ(Contents(ini_), "old");
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, AReplaceKeepsTheFilesAttributes) {
  ASSERT_TRUE(files_.Replace(ini_, "old"));
  ASSERT_TRUE(SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(files_.Replace(ini_, "new"));
  EXPECT_EQ(Contents(ini_), "new");
  EXPECT_TRUE(GetFileAttributesW(ini_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, AReadOnlyFileIsReportedAtOnceAndKept) {
  ASSERT_TRUE(files_.Replace(ini_, "old"));
  ASSERT_TRUE(SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_READONLY));
  const ULONGLONG start = GetTickCount64();
  EXPECT_EQ(files_.Replace(ini_, "new"), fsys::WriteStatus::ReadOnly);
  EXPECT_LT(GetTickCount64() - start, 200u);  // no second of retries
  EXPECT_EQ(Contents(ini_), "old");
  EXPECT_EQ(StrayFiles(), 0);
  SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
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
    for (const auto& entry : fs::directory_iterator(folder_)) fs::remove(entry.path());
    if (c.ini) {
      ASSERT_TRUE(files_.Replace(ini_, c.ini));
    }
    for (const auto& [name, bytes] : c.left) {
      ASSERT_TRUE(files_.WriteAtStart(folder_ / name, bytes));
      Sleep(20);  // distinct write times
    }
    files_.FinishReplaces(ini_);
    EXPECT_EQ(files_.ReadFile(ini_, 1024).status, c.after ? ReadStatus::Ok : ReadStatus::Missing);
    if (c.after) {
      EXPECT_EQ(Contents(ini_), c.after);
    }
    EXPECT_EQ(StrayFiles(), c.strays);
  }
}

// Folders made through the "\\?\" form (the plain form stops at MAX_PATH), removed again the
// same way, deepest first.
class DeepFolders {
 public:
  explicit DeepFolders(const fs::path& base) : path_(LR"(\\?\)" + base.lexically_normal().make_preferred().wstring()) {}
  ~DeepFolders() {
    DeleteFileW((path_ + L"\\VRND.INI").c_str());
    for (; !made_.empty(); made_.pop_back()) RemoveDirectoryW(made_.back().c_str());
  }
  DeepFolders(const DeepFolders&) = delete;
  DeepFolders& operator=(const DeepFolders&) = delete;

  bool Add(const std::wstring& name) {
    path_ += L"\\" + name;
    if (!CreateDirectoryW(path_.c_str(), nullptr)) return false;
    made_.push_back(path_);
    return true;
  }
  // As the program builds it, without the prefix.
  fs::path Plain() const { return path_.substr(4); }

 private:
  std::wstring path_;
  std::vector<std::wstring> made_;
};

TEST_F(Win32FileSystemTest, WorksInFoldersBeyondMaxPath) {
  DeepFolders deep(folder_);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(deep.Add(std::wstring(40, static_cast<wchar_t>(L'a' + i))));
  ASSERT_TRUE(deep.Add(L"ゲーム"));
  const fs::path ini = deep.Plain() / "VRND.INI";
  ASSERT_GT(ini.native().size(), static_cast<std::size_t>(MAX_PATH));
  ASSERT_TRUE(files_.Replace(ini, "x=1"));
  ASSERT_TRUE(files_.Replace(ini, "x=2"));
  EXPECT_EQ(Contents(ini), "x=2");
}

TEST_F(Win32FileSystemTest, WorkingFolderIsTheCurrentFolder) {
  EXPECT_EQ(files_.WorkingFolder(), fs::current_path());
}

// ---- Whole-file moves (the save-file swap) -------------------------------------------------


TEST_F(Win32FileSystemTest, InspectTellsTheLengthOfAHugeFileThatTheGameHoldsOpen) {
  ASSERT_TRUE(MakeSparseFile(folder_ / "huge.dat", 5LL << 30));  // beyond 32 bits
  ExclusiveOpen game(folder_ / "huge.dat");
  const fsys::FileInfo info = files_.Inspect(folder_ / "huge.dat");
  EXPECT_EQ(info.kind, fsys::FileInfo::Kind::File);
  EXPECT_EQ(info.length, 5ULL << 30);
}

TEST_F(Win32FileSystemTest, AMoveRefusedWhileAnotherProgramHoldsTheFileSaysSoInJapanese) {
  const fs::path live = folder_ / "save.dat", empty = folder_ / "save3.dat";
  ASSERT_TRUE(files_.Replace(live, "A"));
  ASSERT_TRUE(MakeSparseFile(empty, 0));
  ExclusiveOpen game(live), scanner(empty);
  ASSERT_TRUE(game.held() && scanner.held());
  const DWORD started = GetTickCount();
  const fsys::FileOutcome rename = files_.RenameNew(live, folder_ / "save2.dat");
  const fsys::FileOutcome remove = files_.RemoveEmpty(empty);
  EXPECT_LT(GetTickCount() - started, 2 * 1000u) << "each gives up well under a second";
  EXPECT_FALSE(rename.ok);
  EXPECT_FALSE(remove.ok);
  for (const std::string& error : {rename.error, remove.error}) {
    EXPECT_TRUE(std::any_of(error.begin(), error.end(), [](char c) { return (c & 0x80) != 0; })) << error;
  }
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(empty));
}

TEST_F(Win32FileSystemTest, AMoveWaitsForAFileHeldForAMoment) {
  const fs::path live = folder_ / "save.dat", empty = folder_ / "save3.dat";
  ASSERT_TRUE(files_.Replace(live, "A"));
  ASSERT_TRUE(MakeSparseFile(empty, 0));
  ExclusiveOpen scanner(live), indexer(empty);
  std::thread release([&] {
    Sleep(100);
    scanner.Release();
    indexer.Release();
  });
  const bool renamed = files_.RenameNew(live, folder_ / "save2.dat").ok;
  const bool removed = files_.RemoveEmpty(empty).ok;
  release.join();
  EXPECT_TRUE(renamed);
  EXPECT_TRUE(removed);
  EXPECT_EQ(Contents(folder_ / "save2.dat"), "A");
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

}  // namespace
