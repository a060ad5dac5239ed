#pragma once
// A hand-written ui::View for driving dialog handlers in unit tests: it keeps item texts and
// button states in maps, records message boxes and answers them from a queue, and runs child
// dialogs through a script the test supplies.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialog.h"

namespace fake {

class View final : public ui::View {
 public:
  struct Box {
    std::string text;
    std::string caption;
    ui::Buttons buttons = ui::Buttons::Ok;
    friend bool operator==(const Box&, const Box&) = default;
  };
  // What happens inside a child dialog between its initialisation and its end; the child's
  // own view is passed in. Without a script the child is cancelled at once.
  using ModalScript = std::function<void(ui::Dialog& child, View& childView)>;

  // Texts as the window holds them. A test that puts a text here directly plays the player typing
  // it, or a tool setting it.
  std::map<int, std::string> texts;
  std::set<int> unstorable;             // items holding a character Shift-JIS cannot hold
  std::map<int, std::string> utf8Texts;  // UTF-8 of texts that are not plain ASCII
  std::set<int> pushed;
  std::set<int> checked;
  std::string title;
  bool visible = true;
  bool taskbarButton = true;
  std::uintptr_t windowId = 0;
  int defaultButton = 0;
  std::vector<Box> boxes;
  std::deque<int> answers;  // for Yes/No boxes; kIdYes when empty
  // What the player or a tool does while a box is open, box by box (the window still gets the
  // tray menu's commands, F1 and the like).
  std::deque<std::function<void()>> whileBoxOpen;
  std::vector<std::pair<int, int>> systemMenu;
  std::optional<int> endResult;
  std::deque<ModalScript> modalScripts;
  std::vector<int> modalTemplates;  // template IDs of the child dialogs run, in order

  std::string ItemText(int id) const override {
    const auto it = texts.find(id);
    return it == texts.end() ? std::string() : it->second;
  }
  std::optional<std::string> StorableItemText(int id) const override {
    if (unstorable.contains(id)) return std::nullopt;
    return ItemText(id);
  }
  std::string Utf8ItemText(int id) const override {
    const auto it = utf8Texts.find(id);
    return it == utf8Texts.end() ? ItemText(id) : it->second;
  }
  void SetItemText(int id, const std::string& text) override {
    texts[id] = text;
  }
  void SetTitle(const std::string& text) override { title = text; }
  void SetPushed(int id, bool on) override { on ? (void)pushed.insert(id) : (void)pushed.erase(id); }
  bool IsChecked(int id) const override { return checked.contains(id); }
  void SetChecked(int id, bool on) override { on ? (void)checked.insert(id) : (void)checked.erase(id); }
  int MessageBox(const std::string& text, const std::string& caption, ui::Buttons buttons) override {
    boxes.push_back({text, caption, buttons});
    if (!whileBoxOpen.empty()) {
      const auto action = std::move(whileBoxOpen.front());
      whileBoxOpen.pop_front();
      if (action) action();
    }
    if (buttons == ui::Buttons::Ok) return ui::kIdOk;
    if (answers.empty()) return ui::kIdYes;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void AppendSystemMenuItem(int command, int stringId) override { systemMenu.emplace_back(command, stringId); }
  void Show(bool on) override { visible = on; }
  void ShowTaskbarButton(bool shown) override { taskbarButton = shown; }
  void SetDefaultButton(int id) override { defaultButton = id; }
  std::uintptr_t WindowId() const override { return windowId; }
  void EndDialog(int result) override { endResult = result; }

  int RunModal(ui::Dialog& child) override {
    modalTemplates.push_back(child.TemplateId());
    auto childView = std::make_shared<View>();
    child.Attach(childView.get());
    child.OnInitDialog();
    if (!modalScripts.empty()) {
      ModalScript script = std::move(modalScripts.front());
      modalScripts.pop_front();
      script(child, *childView);
    }
    if (!childView->endResult) child.OnCancel();
    child.Attach(nullptr);
    lastChild = childView;
    return childView->endResult.value_or(ui::kIdCancel);
  }

  // The child view of the last modal dialog, as it was when the dialog ended.
  std::shared_ptr<View> lastChild;
};

}  // namespace fake
