#pragma once
// The rules every file-system service keeps, as one suite of cases run over each: natively over
// the fake the unit tests use, and under Wine over the Win32 service, so that the fake behaves as
// the real one does. A backend type gives the service (files) and an existing, empty folder
// (folder); the cases reach the files only through the service.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "file_system.h"

template <typename Backend>
class FileSystemContract : public ::testing::Test {
 protected:
  std::filesystem::path At(const char* name) const { return m_backend.folder / name; }
  std::filesystem::path Missing(const char* name) const { return m_backend.folder / "none" / name; }
  std::string Contents(const std::filesystem::path& path) const { return Files().ReadFile(path, 1 << 20).bytes; }
  fsys::FileSystem& Files() const { return m_backend.files; }

  mutable Backend m_backend;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, ReplacesTheWholeFileAndReadsItBackByteForByte) {
  const std::string bytes("[\x91\x53\x94\xCA]\r\n\0\xFF\n", 11);
  const auto ini = this->At("VRND.INI");
  ASSERT_TRUE(this->Files().Replace(ini, "a much longer first content"));
  ASSERT_TRUE(this->Files().Replace(ini, bytes));
  const fsys::ReadResult read = this->Files().ReadFile(ini, 1024);
  EXPECT_EQ(read.status, fsys::ReadStatus::Ok);
  EXPECT_EQ(read.bytes, bytes);
}

TYPED_TEST_P(FileSystemContract, TellsAMissingFileFromOneTooLarge) {
  const auto ini = this->At("VRND.INI");
  EXPECT_EQ(this->Files().ReadFile(ini, 1024).status, fsys::ReadStatus::Missing);
  EXPECT_EQ(this->Files().ReadFile(this->Missing("VRND.INI"), 1024).status, fsys::ReadStatus::Missing);
  ASSERT_TRUE(this->Files().Replace(ini, "12345"));
  EXPECT_EQ(this->Files().ReadFile(ini, 5).status, fsys::ReadStatus::Ok);
  const fsys::ReadResult tooLarge = this->Files().ReadFile(ini, 4);
  EXPECT_EQ(tooLarge.status, fsys::ReadStatus::TooLarge);
  EXPECT_TRUE(tooLarge.bytes.empty());
}

TYPED_TEST_P(FileSystemContract, NothingIsCreatedInAFolderThatIsNotThere) {
  const auto file = this->Missing("x.txt");
  EXPECT_FALSE(this->Files().Replace(file, "new"));
  EXPECT_EQ(this->Files().ReadStart(file, 512).status, fsys::ReadStatus::Missing);
  EXPECT_EQ(this->Files().WriteAtStart(file, "x").status, fsys::WriteStatus::OpenFailed);
  EXPECT_EQ(this->Files().Append(file, [](const fsys::AppendSite&) -> std::optional<std::string> { return "x"; }).status,
            fsys::WriteStatus::OpenFailed);
  EXPECT_EQ(this->Files().Inspect(file.parent_path()).kind, fsys::FileInfo::Kind::Missing);
}

TYPED_TEST_P(FileSystemContract, ReadingTheStartCreatesNothingAndReadsNoMoreThanAsked) {
  const auto record = this->At("pochi.txt");
  EXPECT_EQ(this->Files().ReadStart(record, 512).status, fsys::ReadStatus::Missing);
  EXPECT_EQ(this->Files().Inspect(record).kind, fsys::FileInfo::Kind::Missing);
  const std::string bytes = std::string("a\r\nb\x1a\0c", 7) + std::string(2000, 'x');
  ASSERT_TRUE(this->Files().Replace(record, bytes));
  const fsys::ReadResult start = this->Files().ReadStart(record, 512);
  EXPECT_EQ(start.status, fsys::ReadStatus::Ok);
  EXPECT_EQ(start.bytes, bytes.substr(0, 512));
  EXPECT_EQ(this->Files().ReadStart(record, SIZE_MAX).bytes, bytes);
}

TYPED_TEST_P(FileSystemContract, WritingOverTheStartKeepsTheRestOfALongerFile) {
  const auto record = this->At("old.txt");
  ASSERT_TRUE(this->Files().Replace(record, std::string(200, 'z')));
  EXPECT_TRUE(this->Files().WriteAtStart(record, std::string(160, 'a')));
  EXPECT_EQ(this->Contents(record), std::string(160, 'a') + std::string(40, 'z'));
  EXPECT_TRUE(this->Files().WriteAtStart(this->At("fresh.txt"), "abc\n"));
  EXPECT_EQ(this->Contents(this->At("fresh.txt")), "abc\n");  // no line-end translation
}

// The text for an append: records what the append found, and writes `text`.
inline fsys::AppendText Recording(std::vector<fsys::AppendSite>& seen, std::optional<std::string> text) {
  return [&seen, text](const fsys::AppendSite& site) {
    seen.push_back(site);
    return text;
  };
}

TYPED_TEST_P(FileSystemContract, AppendShowsTheFileAsFoundAndWritesAtItsEndOrNothing) {
  const auto csv = this->At("xg.csv");
  std::vector<fsys::AppendSite> seen;
  EXPECT_TRUE(this->Files().Append(csv, Recording(seen, "\xEF\xBB\xBFH,1")));
  EXPECT_TRUE(this->Files().Append(csv, Recording(seen, "2")));
  EXPECT_EQ(this->Contents(csv), "\xEF\xBB\xBFH,12");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].created);
  EXPECT_FALSE(seen[1].created);
  EXPECT_EQ(seen[1].bytes, "\xEF\xBB\xBFH,1");
  EXPECT_TRUE(this->Files().Append(this->At("new.csv"), Recording(seen, std::nullopt)));
  EXPECT_EQ(this->Files().Inspect(this->At("new.csv")).kind, fsys::FileInfo::Kind::Missing);  // no file left
  EXPECT_TRUE(this->Files().Append(csv, Recording(seen, std::nullopt)));
  EXPECT_EQ(this->Contents(csv), "\xEF\xBB\xBFH,12");
}

TYPED_TEST_P(FileSystemContract, InspectTellsFilesTheirLengthFoldersAndNothing) {
  using Kind = fsys::FileInfo::Kind;
  ASSERT_TRUE(this->Files().Replace(this->At("empty.dat"), ""));
  ASSERT_TRUE(this->Files().Replace(this->At("save.dat"), "AB"));
  const struct {
    std::filesystem::path path;
    Kind kind;
    std::uint64_t length;
  } cases[] = {{this->At("empty.dat"), Kind::File, 0},  {this->At("save.dat"), Kind::File, 2},
               {this->m_backend.folder, Kind::Folder, 0}, {this->At("none.dat"), Kind::Missing, 0},
               {this->Missing("save.dat"), Kind::Missing, 0}};
  for (const auto& c : cases) {
    const fsys::FileInfo info = this->Files().Inspect(c.path);
    EXPECT_EQ(info.kind, c.kind) << c.path;
    EXPECT_EQ(info.length, c.length) << c.path;
  }
}

TYPED_TEST_P(FileSystemContract, MovesNeverReplaceAndNeverDeleteData) {
  const auto live = this->At("save.dat"), slot = this->At("save2.dat"), empty = this->At("save3.dat");
  ASSERT_TRUE(this->Files().Replace(live, "A"));
  ASSERT_TRUE(this->Files().Replace(slot, "B"));
  ASSERT_TRUE(this->Files().Replace(empty, ""));

  const fsys::FileOutcome ontoExisting = this->Files().RenameNew(live, slot);
  EXPECT_FALSE(ontoExisting.ok);
  EXPECT_FALSE(ontoExisting.error.empty());
  EXPECT_FALSE(this->Files().RenameNew(this->At("none.dat"), this->At("new.dat")).ok);
  EXPECT_FALSE(this->Files().RenameNew(live, this->Missing("save.dat")).ok);
  EXPECT_FALSE(this->Files().RemoveEmpty(live).ok);
  EXPECT_FALSE(this->Files().RemoveEmpty(this->At("none.dat")).ok);
  EXPECT_EQ(this->Contents(live), "A");
  EXPECT_EQ(this->Contents(slot), "B");

  EXPECT_TRUE(this->Files().RemoveEmpty(empty).ok);
  EXPECT_EQ(this->Files().Inspect(empty).kind, fsys::FileInfo::Kind::Missing);
  EXPECT_TRUE(this->Files().RenameNew(live, empty).ok);
  EXPECT_EQ(this->Contents(empty), "A");
  EXPECT_EQ(this->Files().Inspect(live).kind, fsys::FileInfo::Kind::Missing);
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, ReplacesTheWholeFileAndReadsItBackByteForByte,
                            TellsAMissingFileFromOneTooLarge, NothingIsCreatedInAFolderThatIsNotThere,
                            ReadingTheStartCreatesNothingAndReadsNoMoreThanAsked,
                            WritingOverTheStartKeepsTheRestOfALongerFile,
                            AppendShowsTheFileAsFoundAndWritesAtItsEndOrNothing,
                            InspectTellsFilesTheirLengthFoldersAndNothing, MovesNeverReplaceAndNeverDeleteData);
