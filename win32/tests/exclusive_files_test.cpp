// The Win32 file service's exclusive opens on real files (run under Wine), beyond the rules of the
// contract suite: files another program holds, failing writes, long paths.
#include "file_system_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

namespace {

using fsys::WriteStatus;

class ExclusiveFilesTest : public ::testing::Test {
 protected:
  ExclusiveFilesTest() {
    m_folder = std::filesystem::temp_directory_path() / ("qfa" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(m_folder);
  }
  ~ExclusiveFilesTest() override { std::filesystem::remove_all(m_folder); }

  std::filesystem::path File(const char* name) const { return m_folder / name; }

  void Put(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string Get(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path m_folder;
  win32::Win32FileSystem m_files;
};

// The text for an append: records what the append found, and writes `text`.
fsys::AppendText Recording(std::vector<fsys::AppendSite>& seen, std::optional<std::string> text) {
  return [&seen, text](const fsys::AppendSite& site) {
    seen.push_back(site);
    return text;
  };
}

TEST_F(ExclusiveFilesTest, SaysHeldForAFileThatAnotherProgramHoldsOpen) {
  Put(File("held.txt"), "data");
  // As a spreadsheet holds an open CSV: others may read, nobody may write.
  const HANDLE held = CreateFileW(File("held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(m_files.ReadStart(File("held.txt"), 512).status, fsys::ReadStatus::Held);
  EXPECT_EQ(m_files.WriteAtStart(File("held.txt"), "x"), WriteStatus::Held);
  std::vector<fsys::AppendSite> seen;
  EXPECT_EQ(m_files.Append(File("held.txt"), Recording(seen, "x")), WriteStatus::Held);
  CloseHandle(held);
  EXPECT_EQ(Get(File("held.txt")), "data");
}

TEST_F(ExclusiveFilesTest, TwoWritersAppendingAtOnceLoseNoRow) {
  constexpr int kRows = 100;
  const auto append = [this] {
    for (int i = 0; i < kRows; ++i) {
      EXPECT_EQ(m_files.Append(File("xg.csv"), [](const fsys::AppendSite&) { return std::optional<std::string>("r\n"); }),
                WriteStatus::Ok);
    }
  };
  std::thread other(append);
  append();
  other.join();
  EXPECT_EQ(Get(File("xg.csv")), [] {
    std::string rows;
    for (int i = 0; i < 2 * kRows; ++i) rows += "r\n";
    return rows;
  }());
}

TEST_F(ExclusiveFilesTest, ReportsAWriteThatFailsAfterTheOpen) {
  // Under Wine, Linux's /dev/full opens like a file and refuses every write with "disk full".
  const std::filesystem::path full = L"Z:\\dev\\full";
  const fsys::WriteResult result = m_files.WriteAtStart(full, std::string(160, 'a'));
  if (result == WriteStatus::OpenFailed) GTEST_SKIP() << "no /dev/full here";
  EXPECT_EQ(result, WriteStatus::WriteFailed);
  std::vector<fsys::AppendSite> seen;
  EXPECT_EQ(m_files.Append(full, Recording(seen, "H\r\n1\r\n")), WriteStatus::WriteFailed);
}

TEST_F(ExclusiveFilesTest, AFailedWriteLeavesNoHalfFile) {
  // Run under a file-size limit of 1 KiB (ulimit -f 1) by its own test entry: the texts below
  // cross it, so their writes fail part way.
  if (!GetEnvironmentVariableW(L"FILE_SIZE_LIMITED", nullptr, 0)) GTEST_SKIP() << "needs the size limit";
  std::vector<fsys::AppendSite> seen;
  const std::string header(1500, 'H');
  EXPECT_EQ(m_files.Append(File("xg.csv"), Recording(seen, header + "\r\n1\r\n")), WriteStatus::WriteFailed);
  EXPECT_FALSE(std::filesystem::exists(File("xg.csv")));  // so the next append writes the header
  Put(File("old.csv"), "H\r\n1\r\n");
  EXPECT_EQ(m_files.Append(File("old.csv"), Recording(seen, std::string(1500, 'r'))), WriteStatus::WriteFailed);
  EXPECT_EQ(Get(File("old.csv")), "H\r\n1\r\n");  // no half row either
  EXPECT_EQ(m_files.WriteAtStart(File("new.txt"), std::string(1500, 'a')), WriteStatus::WriteFailed);
  EXPECT_FALSE(std::filesystem::exists(File("new.txt")));  // not left as if it had been saved
}

TEST_F(ExclusiveFilesTest, WorkInFoldersBeyondMaxPath) {
  // Made (and removed) through the "\\?\" form, as a file dialog may hand such a path over.
  const std::wstring prefix = LR"(\\?\)";
  std::wstring deep = m_folder.lexically_normal().make_preferred().wstring();
  std::vector<std::wstring> made;
  for (int i = 0; i < 7; ++i) {
    deep += L"\\" + std::wstring(40, static_cast<wchar_t>(L'a' + i));
    ASSERT_TRUE(CreateDirectoryW((prefix + deep).c_str(), nullptr));
    made.push_back(prefix + deep);
  }
  const std::filesystem::path record = deep + L"\\ポチ.txt";
  ASSERT_GT(record.native().size(), static_cast<std::size_t>(MAX_PATH));
  EXPECT_EQ(m_files.WriteAtStart(record, "Pochi"), WriteStatus::Ok);
  EXPECT_EQ(m_files.ReadStart(record, 512).bytes, "Pochi");
  std::vector<fsys::AppendSite> seen;
  EXPECT_EQ(m_files.Append(record, Recording(seen, "!")), WriteStatus::Ok);
  EXPECT_EQ(m_files.ReadStart(record, 512).bytes, "Pochi!");
  DeleteFileW((prefix + record.native()).c_str());
  for (auto it = made.rbegin(); it != made.rend(); ++it) RemoveDirectoryW(it->c_str());
}

TEST_F(ExclusiveFilesTest, FailsToOpenAFolder) {
  EXPECT_EQ(m_files.ReadStart(m_folder, 512).status, fsys::ReadStatus::Unreadable);
  EXPECT_EQ(m_files.WriteAtStart(m_folder, "x"), WriteStatus::OpenFailed);
}

}  // namespace
