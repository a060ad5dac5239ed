// The fake file system keeps the rules of the real ones.
#include "fake_file_system.h"

#include "file_system_contract.h"

namespace {

struct FakeBackend {
  fake::FileSystem files;
  std::filesystem::path folder = files.folder;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, FileSystemContract, FakeBackend);

}  // namespace
