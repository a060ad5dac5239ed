#include "dialog.h"

#include <gtest/gtest.h>

#include "about_dialog.h"
#include "fake_view.h"

namespace {

struct AnyDialog : ui::Dialog {
  AnyDialog() : ui::Dialog(7) {}
  bool OnInitDialog() override {
    AddAboutBoxToSystemMenu();
    return true;
  }
};

TEST(DialogTest, TheAboutEntryOpensTheAboutBoxAndEveryOtherSystemCommandStaysTheSystems) {
  const struct {
    int command;
    bool aboutBox;
  } cases[] = {{ui::kIdmAboutBox, true}, {ui::kIdmAboutBox | 0x000F, true}, {0x0020, false}, {0xF060, false}};
  for (const auto& c : cases) {
    fake::View view;
    AnyDialog dialog;
    dialog.Attach(&view);
    dialog.OnInitDialog();
    EXPECT_EQ(view.systemMenu, (std::vector<std::pair<int, int>>{{ui::kIdmAboutBox, ui::kAboutMenuString}}));
    EXPECT_EQ(dialog.OnSysCommand(c.command), c.aboutBox) << c.command;
    EXPECT_EQ(view.modalTemplates, c.aboutBox ? std::vector<int>{ui::kAboutDialogTemplate} : std::vector<int>{})
        << c.command;
  }
}

}  // namespace
