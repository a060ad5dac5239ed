// One Varndell per game folder, under Wine: a running copy is found, and one whose mark a normal
// start may not open (a copy run as administrator) counts as running too. The mark made here
// with an empty access list answers as an administrator's mark answers a normal program:
// access denied.
#include "single_instance.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(SingleInstanceTest, ACopyWhoseMarkCannotBeOpenedRunsAsAdministrator) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"single-instance-test";
  SECURITY_DESCRIPTOR descriptor{};
  ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
  ACL emptyList{};
  ASSERT_TRUE(InitializeAcl(&emptyList, sizeof emptyList, ACL_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyList, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};

  const struct {
    const char* name;
    bool restricted;  // the running copy's mark refuses this one
    bool first;
    bool elevated;
  } cases[] = {
      {"no copy runs", false, true, false},
      {"a copy runs", false, false, false},
      {"a copy runs as administrator", true, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    win32::UniqueHandle running;
    if (!c.first) {
      running = win32::UniqueHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, c.restricted ? &attributes : nullptr,
                                                       PAGE_READWRITE, 0, sizeof(DWORD),
                                                       switcher::InstanceMarkName(folder).c_str()));
      ASSERT_TRUE(running);
    }
    const switcher::SingleInstance instance(folder);
    EXPECT_EQ(instance.IsFirst(), c.first);
    EXPECT_EQ(instance.RunsElevated(), c.elevated);
  }
}

}  // namespace
