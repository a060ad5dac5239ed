#pragma once
// The portable face of a dialog. A dialog class holds its state and handlers as plain C++ and
// reaches its window only through ui::View; the Win32 host (win32/dialog_host) creates the
// window from the dialog's template and routes messages to the handlers below. Unit tests
// drive the same handlers through a fake view.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace ui {

// Command IDs of standard Windows dialogs, restated so that no portable file needs <windows.h>.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// System-menu command of the about box (the low four bits are the system's own).
inline constexpr int kIdmAboutBox = 0x0010;

// What a dialog's client area is painted with, named by the system colour the host uses.
enum class Background { Standard, Desktop, Light3d };

class Dialog;

// An item's text for storing in a file.
struct StorableText {
  // False when the text holds a character that Shift-JIS cannot hold (text is then empty), so
  // that the caller can refuse instead of storing something else.
  bool storable = true;
  std::string text;
};

// What dialog logic may do to its window. Every text is Shift-JIS bytes. The readers of an
// item's text return nullopt when the window has no item with that ID, which an empty item
// never reads as.
class View {
 public:
  virtual ~View() = default;

  // The item's text for showing or reading a number: a character that Shift-JIS cannot hold
  // comes back as "?" or a look-alike.
  virtual std::optional<std::string> ItemText(int id) const = 0;
  virtual std::optional<StorableText> StorableItemText(int id) const = 0;
  // The item's text as UTF-8 (the one exception to Shift-JIS), for a file kept in UTF-8.
  virtual std::optional<std::string> Utf8ItemText(int id) const = 0;
  virtual void SetItemText(int id, const std::string& text) = 0;
  virtual void SetTitle(const std::string& text) = 0;

  // The held-down look of a push button (BM_SETSTATE), independent of any click.
  virtual void SetPushed(int id, bool pushed) = 0;
  // Check state of a radio button or check box (BM_GETCHECK / BM_SETCHECK).
  virtual bool IsChecked(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;

  // Modal message boxes owned by this window, without icon. A question has Yes and No and is
  // agreed to only by Yes: No, and a box that could not open, decline.
  virtual bool Ask(const std::string& text, const std::string& caption) = 0;
  // A notice has OK.
  virtual void Tell(const std::string& text, const std::string& caption) = 0;

  // Appends a separator and a text item with the given command to the system menu; the text is
  // the string resource stringId. Nothing is added when the string is empty or there is no
  // system menu.
  virtual void AppendSystemMenuItem(int command, int stringId) = 0;

  // Shows or hides the window. A window hidden here stays hidden until shown here again,
  // whatever else asks to show it (the dialog manager shows a dialog at its first idle).
  virtual void Show(bool visible) = 0;

  // Gives the window a taskbar button, or takes it away. Once taken away, the window keeps the
  // slim frame of a tool window, with or without the button.
  virtual void ShowTaskbarButton(bool shown) = 0;

  // The window itself, for the services that act on windows (the login paste's input service):
  // an opaque reference, 0 for none.
  virtual std::uintptr_t WindowId() const = 0;

  // The push button that Enter presses (DM_SETDEFID).
  virtual void SetDefaultButton(int id) = 0;

  // Runs another dialog modally, owned by this window; returns its end result.
  virtual int RunModal(Dialog& dialog) = 0;

  // Ends this dialog's modal loop with the given result.
  virtual void EndDialog(int result) = 0;
};

// A dialog read an item its window does not have: a fault in the dialog's IDs, which the host
// reports like any other fault.
class MissingItem : public std::logic_error {
 public:
  explicit MissingItem(int id);
};

class Dialog {
 public:
  explicit Dialog(int templateId) : m_templateId(templateId) {}
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  int TemplateId() const { return m_templateId; }

  // Icon resource shown as the window's big and small icon and when minimized; 0 for none.
  virtual int IconId() const { return 0; }
  virtual Background BackgroundColor() const { return Background::Standard; }

  // The host attaches the view when the window is created and detaches it when it is destroyed.
  void Attach(View* view) { m_view = view; }

  // WM_INITDIALOG. Returns true to let the focus go to the first tab stop.
  virtual bool OnInitDialog() { return true; }

  // A button click (BN_CLICKED), a menu command, Enter (kIdOk) or Esc (kIdCancel).
  // Returns false when the dialog has no handler for the ID.
  virtual bool OnCommand(int id) {
    switch (id) {
      case kIdOk: OnOK(); return true;
      case kIdCancel: OnCancel(); return true;
      default: return false;
    }
  }
  virtual void OnOK() { view().EndDialog(kIdOk); }
  virtual void OnCancel() { view().EndDialog(kIdCancel); }

  // WM_SYSCOMMAND; returns false to let the system handle the command. The about box's entry
  // (see AddAboutBoxToSystemMenu) opens the about box; every other command is the system's.
  virtual bool OnSysCommand(int command);

  // WM_HELP (the F1 key); returns the message's result.
  virtual bool OnHelpInfo() { return false; }

 protected:
  View& view() const { return *m_view; }
  // The view's readers for items the dialog's template has: a missing one throws MissingItem.
  std::string ItemText(int id) const;
  std::string Utf8ItemText(int id) const;
  // nullopt when Shift-JIS cannot hold the text.
  std::optional<std::string> StorableItemText(int id) const;
  // Appends the entry that opens the program's about box to the system menu.
  void AddAboutBoxToSystemMenu();

 private:
  int m_templateId;
  View* m_view = nullptr;
};

}  // namespace ui
