// Choosing an account: what the window shows and tells after a switch. The swap's rule itself is
// proved by the model test.
#include "account_switching.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "fake_file_system.h"
#include "fake_view.h"
#include "messages.h"
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
  std::string mentions;     // in the message
  std::map<std::string, std::string> after;  // the save files afterwards
};

const Case kCases[] = {
    {"a clean switch", {{"save.dat", "A"}, {"save5.dat", "B"}}, nullptr, false, nullptr, 5,
     true, {IDC_ACCOUNT5}, 5, nullptr, "", {{"save.dat", "B"}, {"save2.dat", "A"}}},
    {"a stray file of the previous slot is kept and the player told", {{"save.dat", "A"}, {"save2.dat", "X"}},
     nullptr, false, nullptr, 5, true, {IDC_ACCOUNT5}, 5, msg::kConfirmCaption, "data\\save2-kept-1.dat",
     {{"save2.dat", "A"}, {"save2-kept-1.dat", "X"}}},
    {"the game holds the live file", {{"save.dat", "A"}, {"save5.dat", "B"}}, "save.dat", false, nullptr, 5,
     false, {IDC_ACCOUNT2}, 2, msg::kErrorCaption, "data\\save.dat", {{"save.dat", "A"}, {"save5.dat", "B"}}},
    {"the settings file cannot be written: every rename undone", {{"save.dat", "A"}, {"save5.dat", "B"}}, nullptr,
     true, nullptr, 5, false, {IDC_ACCOUNT2}, 2, msg::kErrorCaption, "VRND.INI", {{"save.dat", "A"}, {"save5.dat", "B"}}},
    {"no data folder", {}, nullptr, false, nullptr, 3, false, {IDC_ACCOUNT2}, 2, msg::kErrorCaption,
     switcher::NoDataFolder(), {}},
    {"another copy switched to 3 meanwhile: the live save is filed as 3's",
     {{"save.dat", "C"}, {"save2.dat", "A"}, {"save5.dat", "B"}}, nullptr, false, "[全般]\r\nsetdata=3\r\n", 5,
     true, {IDC_ACCOUNT5}, 5, nullptr, "", {{"save.dat", "B"}, {"save2.dat", "A"}, {"save3.dat", "C"}}},
    {"a UTF-16 settings file: nothing moves", {{"save.dat", "A"}, {"save5.dat", "B"}}, nullptr, false,
     "\xFF\xFE[", 5, false, {}, 0, msg::kErrorCaption,
     switcher::SettingsInOtherEncoding(text::Encoding::Utf16), {{"save.dat", "A"}, {"save5.dat", "B"}}},
};

// A game folder whose window started with account 2 live, holding the given saves in its data
// folder (none: no data folder).
struct Started {
  explicit Started(const std::map<std::string, std::string>& saves) {
    if (!saves.empty()) files.folders.insert(data);
    for (const auto& [name, bytes] : saves) files.files[data / name] = bytes;
    files.Ini() = "[全般]\r\nsetdata=2\r\n";
    accounts.Restore(view, settings::SettingsFile::InWorkingFolder(files));
  }
  fake::FileSystem files;
  fake::View view;
  switcher::AccountSwitch accounts{files, files, files};
  const std::filesystem::path data = files.folder / "data";
};

TEST(AccountSwitchingTest, ShowsTheSwitchAndTellsThePlayerWhatHappened) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Started started(c.saves);
    auto& [files, view, accounts, data] = started;
    if (c.held) files.held.insert(data / c.held);
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

// Why a switch did not happen, as the player is told it: each cause with its own advice, and a
// game folder that the game would not see a switch in refused before anything moves.
struct Refusal {
  const char* name;
  void (*arrange)(fake::FileSystem& files);
  fsys::Cause cause;       // the message gives this cause's advice, and no other's; None: the folder's message
  const char* copy;        // a VirtualStore copy the message names, or nullptr
  std::set<int> pushed;
};

const std::filesystem::path kGame = "/game";
const Refusal kRefusals[] = {
    {"a read-only settings file", [](fake::FileSystem& f) { f.readOnly.insert(kGame / "VRND.INI"); },
     fsys::Cause::ReadOnly, nullptr, {IDC_ACCOUNT2}},
    {"the game holds its save", [](fake::FileSystem& f) { f.held.insert(kGame / "data" / "save.dat"); },
     fsys::Cause::Held, nullptr, {IDC_ACCOUNT2}},
    {"an editor holds the settings file", [](fake::FileSystem& f) { f.locked.insert(kGame / "VRND.INI"); },
     fsys::Cause::Held, nullptr, {}},
    {"a security program protects the data folder", [](fake::FileSystem& f) { f.protectedFolders.insert(kGame / "data"); },
     fsys::Cause::None, nullptr, {IDC_ACCOUNT2}},
    {"under Program Files", [](fake::FileSystem& f) { f.protectedFolders.insert(kGame); },
     fsys::Cause::None, nullptr, {IDC_ACCOUNT2}},
    {"run as administrator, the game's save in the VirtualStore",
     [](fake::FileSystem& f) { f.files[f.virtualStore / "game" / "data" / "save.dat"] = "V"; }, fsys::Cause::None,
     "data\\save.dat", {IDC_ACCOUNT2}},
    {"an old copy's settings in the VirtualStore",
     [](fake::FileSystem& f) { f.files[f.virtualStore / "game" / "VRND.INI"] = "[全般]\r\n"; }, fsys::Cause::None,
     "VRND.INI", {IDC_ACCOUNT2}},
};

TEST(AccountSwitchingTest, ARefusedSwitchSaysItsCauseAndMovesNothing) {
  constexpr fsys::Cause kAdvised[] = {fsys::Cause::Held, fsys::Cause::ReadOnly, fsys::Cause::Denied};
  for (const Refusal& r : kRefusals) {
    SCOPED_TRACE(r.name);
    Started started({{"save.dat", "A"}, {"save5.dat", "B"}});
    auto& [files, view, accounts, data] = started;
    r.arrange(files);
    const auto before = files.files;

    EXPECT_FALSE(accounts.Select(view, 5));
    EXPECT_EQ(files.files, before);
    EXPECT_EQ(view.pushed, r.pushed);
    ASSERT_EQ(view.boxes.size(), 1u);
    EXPECT_EQ(view.boxes[0].caption, msg::kErrorCaption);
    const std::string& text = view.boxes[0].text;
    for (const fsys::Cause advised : kAdvised) {
      const bool given = text.find(switcher::AdviceText(advised, "")) != std::string::npos;
      EXPECT_EQ(given, advised == r.cause) << text;
    }
    const std::string copy = r.copy ? files.VirtualStoreOf(files.folder)->shown + "\\" + r.copy : "VirtualStore\\";
    EXPECT_EQ(text.find(copy) != std::string::npos, r.copy != nullptr) << text;
  }
}

TEST(AccountSwitchingTest, AtStartASwitchCutShortIsNotFinishedWhereTheGameWouldNotSeeIt) {
  fake::FileSystem files;
  files.files[files.folder / "data" / "save2.dat"] = "A";  // account 2's save waits to come back
  files.Ini() = "[全般]\r\nsetdata=2\r\n";
  files.files[files.virtualStore / "game" / "data" / "save.dat"] = "V";
  const auto before = files.files;
  switcher::AccountSwitch accounts(files, files, files);
  const switcher::SwitchResult resumed = accounts.Resume();
  EXPECT_FALSE(resumed.completed);
  EXPECT_NE(resumed.message.find("data\\save.dat"), std::string::npos);
  EXPECT_EQ(files.files, before);
}

}  // namespace
