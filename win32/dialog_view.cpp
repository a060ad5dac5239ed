#include "dialog_view.h"

#include <optional>
#include <utility>

#include "dialog_host.h"
#include "text.h"

namespace win32 {

HWND DialogView::Item(int id) const {
  for (const auto& [itemId, item] : m_items) {
    if (itemId == id) return item;
  }
  HWND item = GetDlgItem(m_window, id);
  if (item) m_items.emplace_back(id, item);
  return item;
}

std::optional<std::wstring> DialogView::WideItemText(int id) const {
  HWND item = Item(id);
  if (!item) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::optional<std::string> DialogView::ItemText(int id) const {
  const auto text = WideItemText(id);
  if (!text) return std::nullopt;
  return Narrow(*text);
}

std::optional<ui::StorableText> DialogView::StorableItemText(int id) const {
  const auto text = WideItemText(id);
  if (!text) return std::nullopt;
  std::optional<std::string> exact = NarrowExact(*text);
  if (!exact) return ui::StorableText{false, {}};
  return ui::StorableText{true, std::move(*exact)};
}

std::optional<std::string> DialogView::Utf8ItemText(int id) const {
  const auto text = WideItemText(id);
  if (!text) return std::nullopt;
  return ToUtf8(*text);
}

void DialogView::SetItemText(int id, const std::string& text) { SetWindowTextW(Item(id), Widen(text).c_str()); }

void DialogView::SetTitle(const std::string& text) { SetWindowTextW(m_window, Widen(text).c_str()); }

void DialogView::SetPushed(int id, bool pushed) {
  SendMessageW(Item(id), BM_SETSTATE, pushed ? TRUE : FALSE, 0);
}

bool DialogView::IsChecked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void DialogView::SetChecked(int id, bool checked) {
  SendMessageW(Item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool DialogView::Ask(const std::string& text, const std::string& caption) {
  return MessageBoxW(m_window, Widen(text).c_str(), Widen(caption).c_str(), MB_YESNO) == IDYES;
}

void DialogView::Tell(const std::string& text, const std::string& caption) {
  MessageBoxW(m_window, Widen(text).c_str(), Widen(caption).c_str(), MB_OK);
}

void DialogView::AppendSystemMenuItem(int command, int stringId) {
  HMENU menu = GetSystemMenu(m_window, FALSE);
  if (!menu) return;
  const wchar_t* resource = nullptr;
  // With a zero buffer size LoadStringW hands out a read-only pointer to the resource itself.
  const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(stringId),
                                 reinterpret_cast<LPWSTR>(&resource), 0);
  if (length <= 0) return;
  const std::wstring text(resource, static_cast<std::size_t>(length));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), text.c_str());
}

void DialogView::Show(bool visible) {
  m_keptHidden = !visible;
  ShowWindow(m_window, visible ? SW_SHOW : SW_HIDE);
}

void DialogView::ShowTaskbarButton(bool shown) {
  const auto style = static_cast<LONG_PTR>(GetWindowLongPtrW(m_window, GWL_EXSTYLE));
  if (shown) {
    SetWindowLongPtrW(m_window, GWL_EXSTYLE, style | WS_EX_APPWINDOW);
    return;
  }
  // A tool window without the app-window style has no taskbar button. The new frame is taken at
  // once, keeping the window's size, place and z-order.
  SetWindowLongPtrW(m_window, GWL_EXSTYLE, style | WS_EX_TOOLWINDOW);
  SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetWindowLongPtrW(m_window, GWL_EXSTYLE, (style | WS_EX_TOOLWINDOW) & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW));
}

void DialogView::SetDefaultButton(int id) { SendMessageW(m_window, DM_SETDEFID, static_cast<WPARAM>(id), 0); }

int DialogView::RunModal(ui::Dialog& dialog) { return RunModalDialog(dialog, m_window); }

void DialogView::EndDialog(int result) { ::EndDialog(m_window, result); }

HWND WindowOf(const ui::View& view) {
  const auto* dialogView = dynamic_cast<const DialogView*>(&view);
  return dialogView ? dialogView->Window() : nullptr;
}

}  // namespace win32
