#include "file_system_posix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using fsys::ReadStatus;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = fs::temp_directory_path() / ("fsys-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct PosixFileSystemTest : ::testing::Test {
  TempFolder folder;
  fsys::PosixFileSystem files;
  fs::path ini = folder.path() / "VRND.INI";

  // Everything in the folder but the named files: left-over temporary files.
  std::vector<fs::path> Others(std::initializer_list<fs::path> expected) const {
    std::vector<fs::path> others;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
      if (std::find(expected.begin(), expected.end(), entry.path()) == expected.end()) others.push_back(entry.path());
    }
    return others;
  }
};

TEST_F(PosixFileSystemTest, ReadsAFileByteForByte) {
  const std::string bytes = "[\x91\x53\x94\xCA]\r\n\0\xFF\n"s;
  WriteBytes(ini, bytes);
  const fsys::ReadResult read = files.ReadFile(ini, 1024);
  EXPECT_EQ(read.status, ReadStatus::Ok);
  EXPECT_EQ(read.bytes, bytes);
}

TEST_F(PosixFileSystemTest, TellsMissingFromUnreadableFromTooLarge) {
  EXPECT_EQ(files.ReadFile(ini, 1024).status, ReadStatus::Missing);
  EXPECT_EQ(files.ReadFile(folder.path() / "no" / "VRND.INI", 1024).status, ReadStatus::Missing);
  WriteBytes(folder.path() / "file", "x");
  EXPECT_EQ(files.ReadFile(folder.path() / "file" / "VRND.INI", 1024).status, ReadStatus::Missing);

  fs::create_directory(ini);
  EXPECT_EQ(files.ReadFile(ini, 1024).status, ReadStatus::Unreadable);
  fs::remove(ini);
  ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
  EXPECT_EQ(files.ReadFile(ini, 1024).status, ReadStatus::Unreadable) << "a FIFO must neither hang nor be read";
  fs::remove(ini);

  WriteBytes(ini, "12345");
  EXPECT_EQ(files.ReadFile(ini, 5).status, ReadStatus::Ok);
  const fsys::ReadResult tooLarge = files.ReadFile(ini, 4);
  EXPECT_EQ(tooLarge.status, ReadStatus::TooLarge);
  EXPECT_TRUE(tooLarge.bytes.empty());
}

TEST_F(PosixFileSystemTest, ReplaceCreatesOrReplacesTheWholeFile) {
  ASSERT_TRUE(files.Replace(ini, "first, longer content"));
  EXPECT_EQ(ReadBytes(ini), "first, longer content");
  ASSERT_TRUE(files.Replace(ini, "second"));
  EXPECT_EQ(ReadBytes(ini), "second");
  ASSERT_TRUE(files.Replace(ini, ""));
  EXPECT_EQ(ReadBytes(ini), "");
  EXPECT_TRUE(Others({ini}).empty()) << "no temporary file is left behind";
}

TEST_F(PosixFileSystemTest, ReplaceKeepsTheFilesPermissions) {
  WriteBytes(ini, "old");
  fs::permissions(ini, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(files.Replace(ini, "new"));
  EXPECT_EQ(fs::status(ini).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(PosixFileSystemTest, AFailedReplaceLeavesTheOldFileAndNoLeftovers) {
  // A folder of the file's name cannot be replaced by a file.
  fs::create_directory(ini);
  WriteBytes(ini / "inside", "kept");
  EXPECT_FALSE(files.Replace(ini, "new"));
  EXPECT_TRUE(fs::is_directory(ini));
  EXPECT_EQ(ReadBytes(ini / "inside"), "kept");
  EXPECT_TRUE(Others({ini}).empty());

  // No folder to put the file in: its parent is a file.
  const fs::path parentFile = folder.path() / "parent";
  WriteBytes(parentFile, "kept");
  EXPECT_FALSE(files.Replace(parentFile / "VRND.INI", "new"));
  EXPECT_EQ(ReadBytes(parentFile), "kept");
  EXPECT_FALSE(files.Replace(folder.path() / "missing" / "VRND.INI", "new"));
  EXPECT_FALSE(fs::exists(folder.path() / "missing"));
}

TEST_F(PosixFileSystemTest, HandlesLongAndJapanesePaths) {
  fs::path deep = folder.path();
  for (int i = 0; i < 12; ++i) deep /= std::string(40, static_cast<char>('a' + i));
  deep /= "\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0";  // a UTF-8 folder name, as Linux spells it
  fs::create_directories(deep);
  ASSERT_GT(deep.native().size(), 500u);
  ASSERT_TRUE(files.Replace(deep / "VRND.INI", "x=1"));
  EXPECT_EQ(files.ReadFile(deep / "VRND.INI", 1024).bytes, "x=1");
}

// The creating, never-truncating opens of the familiar files.
TEST_F(PosixFileSystemTest, OpensThatCreateAndNeverTruncate) {
  const fs::path record = folder.path() / "pochi.txt";
  EXPECT_EQ(files.ReadCreating(record, 512), "");
  EXPECT_TRUE(fs::exists(record));
  WriteBytes(record, std::string(200, 'z'));
  EXPECT_EQ(files.ReadCreating(record, 16), std::string(16, 'z'));
  EXPECT_TRUE(files.WriteAtStart(record, std::string(160, 'a')));
  EXPECT_EQ(ReadBytes(record), std::string(160, 'a') + std::string(40, 'z'));

  const fs::path csv = folder.path() / "xg.csv";
  const fsys::AppendText text = [](const fsys::AppendSite& site) {
    return std::optional<std::string>(site.created ? "H\r\n1" : std::string(1, site.last));
  };
  EXPECT_TRUE(files.Append(csv, text));
  EXPECT_TRUE(files.Append(csv, text));
  EXPECT_EQ(ReadBytes(csv), "H\r\n11");

  EXPECT_EQ(files.ReadCreating(folder.path() / "none" / "x.txt", 512), std::nullopt);
  EXPECT_EQ(files.WriteAtStart(folder.path() / "none" / "x.txt", "x").status, fsys::WriteStatus::OpenFailed);
  EXPECT_EQ(files.Append(folder.path() / "none" / "x.csv", text).status, fsys::WriteStatus::OpenFailed);
}

TEST_F(PosixFileSystemTest, WorkingFolderIsTheCurrentFolder) {
  EXPECT_EQ(files.WorkingFolder(), fs::current_path());
}

TEST_F(PosixFileSystemTest, MovesNeverReplaceAndNeverDeleteData) {
  using Kind = fsys::FileInfo::Kind;
  const fs::path live = folder.path() / "save.dat", slot = folder.path() / "save2.dat", empty = folder.path() / "save3.dat";
  WriteBytes(live, "A");
  WriteBytes(slot, "B");
  WriteBytes(empty, "");
  EXPECT_EQ(files.Inspect(live).kind, Kind::File);
  EXPECT_EQ(files.Inspect(live).length, 1u);
  EXPECT_EQ(files.Inspect(folder.path()).kind, Kind::Folder);
  EXPECT_EQ(files.Inspect(folder.path() / "none" / "save.dat").kind, Kind::Missing);

  EXPECT_FALSE(files.RenameNew(live, slot).ok);
  EXPECT_FALSE(files.RemoveEmpty(live).ok);
  EXPECT_EQ(ReadBytes(live), "A");
  EXPECT_EQ(ReadBytes(slot), "B");

  EXPECT_TRUE(files.RemoveEmpty(empty).ok);
  EXPECT_TRUE(files.RenameNew(live, empty).ok);
  EXPECT_EQ(ReadBytes(empty), "A");
  EXPECT_FALSE(fs::exists(live));
}

}  // namespace
