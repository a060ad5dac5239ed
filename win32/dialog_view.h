#pragma once
// ui::View over a live dialog window.
#include <windows.h>

#include <utility>
#include <vector>

#include "dialog.h"

namespace win32 {

class DialogView final : public ui::View {
 public:
  explicit DialogView(HWND window) : m_window(window) {}

  HWND Window() const { return m_window; }
  // Hidden by Show(false) and not shown again by Show(true): every other show is refused.
  bool KeptHidden() const { return m_keptHidden; }

  std::optional<std::string> ItemText(int id) const override;
  std::optional<ui::StorableText> StorableItemText(int id) const override;
  std::optional<std::string> Utf8ItemText(int id) const override;
  void SetItemText(int id, const std::string& text) override;
  void SetTitle(const std::string& text) override;
  void SetPushed(int id, bool pushed) override;
  bool IsChecked(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool Ask(const std::string& text, const std::string& caption) override;
  void Tell(const std::string& text, const std::string& caption) override;
  void AppendSystemMenuItem(int command, int stringId) override;
  void Show(bool visible) override;
  void ShowTaskbarButton(bool shown) override;
  void SetDefaultButton(int id) override;
  std::uintptr_t WindowId() const override { return reinterpret_cast<std::uintptr_t>(m_window); }
  int RunModal(ui::Dialog& dialog) override;
  void EndDialog(int result) override;

 private:
  // nullopt when the dialog has no such item.
  std::optional<std::wstring> WideItemText(int id) const;
  // A control of the dialog by its ID. A dialog's controls live as long as it does, so each is
  // looked up once: under Wine every GetDlgItem lists all the dialog's children anew, which made
  // filling the main window's fifty controls a noticeable part of its start-up.
  HWND Item(int id) const;

  HWND m_window;
  bool m_keptHidden = false;
  mutable std::vector<std::pair<int, HWND>> m_items;
};

// The window behind a view of a live dialog; null for any other view.
HWND WindowOf(const ui::View& view);

}  // namespace win32
