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

// A mistyped ID must not read as an empty box: the dialog's readers throw for it, the empty
// and the unstorable read as what they are.
TEST(DialogTest, AMissingItemIsAFaultNeverAnEmptyText) {
  struct Reader : ui::Dialog {
    Reader() : ui::Dialog(7) {}
    using ui::Dialog::ItemText;
    using ui::Dialog::StorableItemText;
    using ui::Dialog::Utf8ItemText;
  };
  fake::View view;
  view.texts = {{1, ""}, {2, "x"}};
  view.unstorable = {2};
  Reader dialog;
  dialog.Attach(&view);
  EXPECT_EQ(dialog.ItemText(1), "");
  EXPECT_EQ(dialog.StorableItemText(1), "");
  EXPECT_EQ(dialog.StorableItemText(2), std::nullopt);
  EXPECT_THROW(dialog.ItemText(3), ui::MissingItem);
  EXPECT_THROW(dialog.StorableItemText(3), ui::MissingItem);
  EXPECT_THROW(dialog.Utf8ItemText(3), ui::MissingItem);
}

}  // namespace
