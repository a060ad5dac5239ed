// The Win32 file-system service on real files, run under Wine.
#include "file_system_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using fsys::ReadStatus;

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

TEST_F(Win32FileSystemTest, ReplacesTheWholeFileAndReadsItBackByteForByte) {
  const std::string bytes = "[\x91\x53\x94\xCA]\r\n\0\xFF\n"s;
  ASSERT_TRUE(files_.Replace(ini_, "a much longer first content"));
  ASSERT_TRUE(files_.Replace(ini_, bytes));
  const fsys::ReadResult read = files_.ReadFile(ini_, 1024);
  EXPECT_EQ(read.status, ReadStatus::Ok);
  EXPECT_EQ(read.bytes, bytes);
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(Win32FileSystemTest, TellsMissingFromUnreadableFromTooLarge) {
  EXPECT_EQ(files_.ReadFile(ini_, 1024).status, ReadStatus::Missing);
  EXPECT_EQ(files_.ReadFile(folder_ / "none" / "VRND.INI", 1024).status, ReadStatus::Missing);

  fs::create_directory(ini_);
  EXPECT_EQ(files_.ReadFile(ini_, 1024).status, ReadStatus::Unreadable);
  fs::remove(ini_);

  ASSERT_TRUE(files_.Replace(ini_, "12345"));
  EXPECT_EQ(files_.ReadFile(ini_, 5).status, ReadStatus::Ok);
  EXPECT_EQ(files_.ReadFile(ini_, 4).status, ReadStatus::TooLarge);
}

TEST_F(Win32FileSystemTest, AFailedReplaceLeavesWhatWasThere) {
  fs::create_directory(ini_);
  EXPECT_FALSE(files_.Replace(ini_, "new"));
  EXPECT_TRUE(fs::is_directory(ini_));
  EXPECT_EQ(StrayFiles(), 0);
  EXPECT_FALSE(files_.Replace(folder_ / "none" / "VRND.INI", "new"));
  EXPECT_FALSE(fs::exists(folder_ / "none"));
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

}  // namespace
