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

// The buttons of a message box: a notice's OK, a question's Yes and No.
enum class Buttons { Ok, YesNo };

class View final : public ui::View {
 public:
  struct Box {
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    friend bool operator==(const Box&, const Box&) = default;
  };
  // What happens inside a child dialog between its initialisation and its end; the child's
  // own view is passed in. Without a script the child is cancelled at once.
  using ModalScript = std::function<void(ui::Dialog& child, View& childView)>;

  // Texts as the window holds them. A test that puts a text here directly plays the player typing
  // it, or a tool setting it. The window has the items given a text here or by the dialog: the
  // others read as missing, as a mistyped ID would.
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
  std::deque<bool> answers;  // to the questions, true for Yes; Yes when empty
  // What the player or a tool does while a box is open, box by box (the window still gets the
  // tray menu's commands, F1 and the like).
  std::deque<std::function<void()>> whileBoxOpen;
  std::vector<std::pair<int, int>> systemMenu;
  std::optional<int> endResult;
  std::deque<ModalScript> modalScripts;
  std::vector<int> modalTemplates;  // template IDs of the child dialogs run, in order

  std::optional<std::string> ItemText(int id) const override {
    const auto it = texts.find(id);
    if (it == texts.end()) return std::nullopt;
    return it->second;
  }
  std::optional<ui::StorableText> StorableItemText(int id) const override {
    std::optional<std::string> text = ItemText(id);
    if (!text) return std::nullopt;
    if (unstorable.contains(id)) return ui::StorableText{false, {}};
    return ui::StorableText{true, std::move(*text)};
  }
  std::optional<std::string> Utf8ItemText(int id) const override {
    const auto it = utf8Texts.find(id);
    return it == utf8Texts.end() || !texts.contains(id) ? ItemText(id) : it->second;
  }
  void SetItemText(int id, const std::string& text) override {
    texts[id] = text;
  }
  void SetTitle(const std::string& text) override { title = text; }
  void SetPushed(int id, bool on) override { on ? (void)pushed.insert(id) : (void)pushed.erase(id); }
  bool IsChecked(int id) const override { return checked.contains(id); }
  void SetChecked(int id, bool on) override { on ? (void)checked.insert(id) : (void)checked.erase(id); }
  bool Ask(const std::string& text, const std::string& caption) override {
    Open({text, caption, Buttons::YesNo});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Tell(const std::string& text, const std::string& caption) override { Open({text, caption, Buttons::Ok}); }
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

 private:
  void Open(Box box) {
    boxes.push_back(std::move(box));
    if (!whileBoxOpen.empty()) {
      const auto action = std::move(whileBoxOpen.front());
      whileBoxOpen.pop_front();
      if (action) action();
    }
  }
};

}  // namespace fake
