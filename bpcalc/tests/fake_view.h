#pragma once
// A window that remembers what the dialog did to it.
#include <map>
#include <string>
#include <vector>

#include "dialog.h"

namespace bpcalc {

struct ShownMessage {
  std::string text;
  std::string caption;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

class FakeView final : public ui::View {
 public:
  std::map<int, std::string> texts;
  std::vector<ShownMessage> messages;
  std::vector<std::pair<int, int>> systemMenuItems;
  std::vector<int> modalTemplates;
  std::vector<int> endResults;

  std::string ItemText(int id) const override {
    const auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
  }
  void SetItemText(int id, const std::string& text) override { texts[id] = text; }
  void SetTitle(const std::string&) override {}
  void SetPushed(int, bool) override {}
  bool IsChecked(int) const override { return false; }
  void SetChecked(int, bool) override {}
  int MessageBox(const std::string& text, const std::string& caption, ui::Buttons) override {
    messages.push_back({text, caption});
    return ui::kIdOk;
  }
  void AppendSystemMenuItem(int command, int stringId) override { systemMenuItems.emplace_back(command, stringId); }
  void Show(bool) override {}
  int RunModal(ui::Dialog& dialog) override {
    modalTemplates.push_back(dialog.TemplateId());
    return ui::kIdOk;
  }
  void EndDialog(int result) override { endResults.push_back(result); }
};

}  // namespace bpcalc
