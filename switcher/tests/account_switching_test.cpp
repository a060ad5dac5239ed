// Choosing an account: what the window shows and tells after a switch. The swap's rule itself is
// proved by the model test.
#include "account_switching.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "fake_file_system.h"
#include "fake_view.h"
#include "profile.h"
#include "resource.h"
#include "settings_file.h"

namespace {

struct Case {
  const char* name;
  std::map<std::string, std::string> saves;  // in data\, by file name; none: no data folder
  const char* held;                          // a save file another program holds, or nullptr
  bool refuseSettingsWrites;
  const char* iniMeanwhile;  // the settings file after start-up, or nullptr: setdata=2 as at start
  int slot;                  // pressed
  bool completed;
  std::set<int> pushed;
  int selected;             // in memory and in the settings file afterwards
  const char* caption;      // of the message box, nullptr for none
  const char* mentions;     // in the message
  std::map<std::string, std::string> after;  // the save files afterwards
};

const Case kCases[] = {
    {"a clean switch", {{"save.dat", "A"}, {"save5.dat", "B"}}, nullptr, false, nullptr, 5,
     true, {IDC_ACCOUNT5}, 5, nullptr, "", {{"save.dat", "B"}, {"save2.dat", "A"}}},
    {"a stray file of the previous slot is kept and the player told", {{"save.dat", "A"}, {"save2.dat", "X"}},
     nullptr, false, nullptr, 5, true, {IDC_ACCOUNT5}, 5, "確認", "data\\save2-kept-1.dat",
     {{"save2.dat", "A"}, {"save2-kept-1.dat", "X"}}},
    {"the game holds the live file", {{"save.dat", "A"}, {"save5.dat", "B"}}, "save.dat", false, nullptr, 5,
     false, {}, 2, "Error", "data\\save.dat", {{"save.dat", "A"}, {"save5.dat", "B"}}},
    {"the settings file cannot be written: every rename undone", {{"save.dat", "A"}, {"save5.dat", "B"}}, nullptr,
     true, nullptr, 5, false, {}, 2, "Error", "VRND.INI", {{"save.dat", "A"}, {"save5.dat", "B"}}},
    {"no data folder", {}, nullptr, false, nullptr, 3, false, {}, 2, "Error", "「data」フォルダ", {}},
    {"another copy switched to 3 meanwhile: the live save is filed as 3's",
     {{"save.dat", "C"}, {"save2.dat", "A"}, {"save5.dat", "B"}}, nullptr, false, "[全般]\r\nsetdata=3\r\n", 5,
     true, {IDC_ACCOUNT5}, 5, nullptr, "", {{"save.dat", "B"}, {"save2.dat", "A"}, {"save3.dat", "C"}}},
    {"a UTF-16 settings file: nothing moves", {{"save.dat", "A"}, {"save5.dat", "B"}}, nullptr, false,
     "\xFF\xFE[", 5, false, {}, 0, "Error", "UTF-16", {{"save.dat", "A"}, {"save5.dat", "B"}}},
};

TEST(AccountSwitchingTest, ShowsTheSwitchAndTellsThePlayerWhatHappened) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    fake::FileSystem files;
    fake::View view;
    switcher::AccountSwitch accounts(files, files);
    const std::filesystem::path data = files.folder / "data";
    if (!c.saves.empty()) files.folders.insert(data);
    for (const auto& [name, bytes] : c.saves) files.files[data / name] = bytes;
    if (c.held) files.held.insert(data / c.held);
    files.Ini() = "[全般]\r\nsetdata=2\r\n";
    accounts.Restore(view, settings::SettingsFile::InWorkingFolder(files));
    ASSERT_EQ(view.pushed, std::set<int>{IDC_ACCOUNT2});
    if (c.iniMeanwhile) files.Ini() = c.iniMeanwhile;
    files.refuseWrites = c.refuseSettingsWrites;

    EXPECT_EQ(accounts.Select(view, c.slot), c.completed);
    EXPECT_EQ(view.pushed, c.pushed);
    EXPECT_EQ(accounts.Slot(), c.selected);
    EXPECT_EQ(settings::SlotOf(settings::ProfileRead(files.Ini(), "全般", "setdata", "0")), c.selected);
    if (c.caption) {
      ASSERT_EQ(view.boxes.size(), 1u);
      EXPECT_EQ(view.boxes[0].caption, c.caption);
      EXPECT_NE(view.boxes[0].text.find(c.mentions), std::string::npos) << view.boxes[0].text;
    } else {
      EXPECT_TRUE(view.boxes.empty());
    }
    std::map<std::string, std::string> after;
    for (const auto& [path, bytes] : files.files) {
      if (path.parent_path() == data) after[path.filename().string()] = bytes;
    }
    EXPECT_EQ(after, c.after);
  }
}

}  // namespace
