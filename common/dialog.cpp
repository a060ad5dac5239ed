#include "dialog.h"

#include <utility>

#include "about_dialog.h"

namespace ui {

MissingItem::MissingItem(int id) : std::logic_error("The dialog has no item " + std::to_string(id) + ".") {}

namespace {

template <typename T>
T Found(std::optional<T> read, int id) {
  if (!read) throw MissingItem(id);
  return std::move(*read);
}

}  // namespace

std::string Dialog::ItemText(int id) const { return Found(view().ItemText(id), id); }

std::string Dialog::Utf8ItemText(int id) const { return Found(view().Utf8ItemText(id), id); }

std::optional<std::string> Dialog::StorableItemText(int id) const {
  StorableText read = Found(view().StorableItemText(id), id);
  if (!read.storable) return std::nullopt;
  return std::move(read.text);
}

void Dialog::AddAboutBoxToSystemMenu() { view().AppendSystemMenuItem(kIdmAboutBox, kAboutMenuString); }

bool Dialog::OnSysCommand(int command) {
  // The system keeps the low four bits for itself.
  if ((command & 0xFFF0) != kIdmAboutBox) return false;
  CAboutDlg about;
  view().RunModal(about);
  return true;
}

}  // namespace ui
