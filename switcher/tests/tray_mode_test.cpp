#include <string>
#include <vector>

#include "main_window.h"
#include "messages.h"
#include "resource.h"

namespace {

using Op = fake::Tray::Op;
using Call = fake::Tray::Call;

using switcher::kTrayTip;
constexpr bool kNoTaskbarButton = false;
constexpr auto kLeftUp = switcher::TrayIconMouse::LeftButtonUp;
constexpr auto kRightDown = switcher::TrayIconMouse::RightButtonDown;

struct TrayModeTest : MainWindowTest {
  void Hide() {
    Press(IDC_TRAY_MODE);
    ASSERT_FALSE(view.visible);
    tray.calls.clear();
  }
  // The fixture's one dialog lives on after an exit: brings it back to the shown state for the
  // next case of a table.
  void ShowAgain() {
    if (!view.visible) Press(IDC_TRAY_MODE);
  }
  void IconMouse(switcher::TrayIconMouse mouse) { dialog.OnTrayIcon(mouse); }
  void TaskbarCreated() { dialog.OnTaskbarCreated(); }
};

TEST_F(TrayModeTest, HidingTakesTheWindowOffTheTaskbarAndBehindTheIcon) {
  for (int command : {IDC_TRAY_MODE, ID_TRAY_TOGGLE}) {
    SCOPED_TRACE(command);
    view = {};
    tray.calls.clear();
    Start();
    Press(command);
    EXPECT_FALSE(view.visible);
    EXPECT_FALSE(view.taskbarButton);
    // The icon comes when the window is already hidden and off the taskbar.
    EXPECT_EQ(tray.calls, (std::vector<Call>{{Op::Add, kTrayTip, false, kNoTaskbarButton, false}}));
    EXPECT_EQ(tray.iconId, IDR_MAINFRAME);
    EXPECT_TRUE(view.boxes.empty());
    Press(command);  // and back, for the next round
  }
}

TEST_F(TrayModeTest, EveryWayBackShowsTheWindowWithATaskbarButtonAndRemovesTheIcon) {
  const struct {
    const char* way;
    std::function<void(TrayModeTest&)> act;
  } ways[] = {
      {"button IDC_TRAY_MODE", [](TrayModeTest& t) { t.Press(IDC_TRAY_MODE); }},
      {"menu ID_TRAY_TOGGLE", [](TrayModeTest& t) { t.Press(ID_TRAY_TOGGLE); }},
      {"left button released on the icon", [](TrayModeTest& t) { t.IconMouse(kLeftUp); }},
  };
  Start();
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    ASSERT_NO_FATAL_FAILURE(Hide());
    way.act(*this);
    EXPECT_TRUE(view.visible);
    EXPECT_TRUE(view.taskbarButton);
    EXPECT_EQ(tray.calls, (std::vector<Call>{{Op::Delete, "", false, kNoTaskbarButton, false}}));
    EXPECT_FALSE(tray.iconShown);
  }
}

TEST_F(TrayModeTest, ARightPressOpensTheMenuAndALeftReleaseShowsOnlyAHiddenWindow) {
  const struct {
    bool hidden;
    switcher::TrayIconMouse mouse;
    std::vector<Call> calls;
    bool visibleAfter;
  } cases[] = {
      {true, kRightDown, {{Op::Menu, "指定ソフト", false, kNoTaskbarButton, false}}, false},
      {false, kRightDown, {{Op::Menu, "指定ソフト", true, true, false}}, true},
      {false, kLeftUp, {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "hidden " << c.hidden << ", mouse " << static_cast<int>(c.mouse));
    view = {};
    tray.calls.clear();
    Start();
    if (c.hidden) {
      ASSERT_NO_FATAL_FAILURE(Hide());
    }
    IconMouse(c.mouse);
    EXPECT_EQ(tray.calls, c.calls);
    EXPECT_EQ(view.visible, c.visibleAfter);
    ShowAgain();
  }
}

TEST_F(TrayModeTest, EveryWayOutRemovesAnIconFirstAndOnlyWhenThereIsOne) {
  for (int command : {ui::kIdCancel, ID_TRAY_EXIT}) {
    for (bool hidden : {false, true}) {
      SCOPED_TRACE(testing::Message() << "command " << command << ", hidden " << hidden);
      view = {};
      tray.calls.clear();
      Start();
      if (hidden) {
        ASSERT_NO_FATAL_FAILURE(Hide());
      }
      Press(command);
      EXPECT_EQ(view.endResult, ui::kIdCancel);
      const std::vector<Call> removal{{Op::Delete, "", false, kNoTaskbarButton, false}};
      EXPECT_EQ(tray.calls, hidden ? removal : std::vector<Call>{});
      ShowAgain();
    }
  }
}

TEST_F(TrayModeTest, AnIconTheShellRefusesKeepsTheWindowShownAndSaysSo) {
  Start();
  tray.refuseAdd = true;
  Press(IDC_TRAY_MODE);
  EXPECT_TRUE(view.visible);
  EXPECT_TRUE(view.taskbarButton);
  EXPECT_EQ(view.boxes, (std::vector<fake::View::Box>{{switcher::kTrayAddFailed, msg::kErrorCaption}}));
  // Still in the shown state: the button tries again.
  tray.refuseAdd = false;
  Press(IDC_TRAY_MODE);
  EXPECT_FALSE(view.visible);
  EXPECT_TRUE(tray.iconShown);
}

TEST_F(TrayModeTest, ANewTaskbarGetsTheIconOfAHiddenWindowBack) {
  const struct {
    bool hidden;
    bool refuse;
    std::vector<Call> calls;
    bool visibleAfter;
    std::size_t boxes;
  } cases[] = {
      {true, false, {{Op::Add, kTrayTip, false, kNoTaskbarButton, false}}, false, 0},
      {true, true, {{Op::Add, kTrayTip, false, kNoTaskbarButton, false}}, true, 1},
      {false, false, {}, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "hidden " << c.hidden << ", refused " << c.refuse);
    view = {};
    tray = {};
    Start();
    if (c.hidden) {
      ASSERT_NO_FATAL_FAILURE(Hide());
    }
    tray.refuseAdd = c.refuse;
    TaskbarCreated();
    EXPECT_EQ(tray.calls, c.calls);
    EXPECT_EQ(view.visible, c.visibleAfter);
    EXPECT_EQ(view.boxes.size(), c.boxes);
    ShowAgain();
  }
}

}  // namespace
