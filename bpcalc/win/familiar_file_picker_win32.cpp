#include "familiar_file_picker_win32.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "owner_window.h"
#include "text.h"

namespace bpcalc {
namespace {

// Pairs of shown name and pattern, ended by an empty pair.
constexpr wchar_t kFilter[] = L"使い魔データ(*.txt)\0*.txt\0全ファイル\0*.*\0";
// Room for long paths.
constexpr DWORD kPathCapacity = 32768;

std::optional<std::filesystem::path> Choose(bool save) {
  std::wstring path(kPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = win32::OwnerWindow();
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCapacity;
  dialog.lpstrDefExt = L"TXT";
  // Without OFN_NOCHANGEDIR the chosen folder becomes the current one, where xg.csv and
  // xglist.txt are then found.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  path.resize(path.find(L'\0'));
  if (path.empty()) return std::nullopt;
  // xg.csv and xglist.txt are then looked for in the folder used here. Windows' dialog moves
  // the current folder there itself, but not every dialog does so for a typed full path.
  const std::filesystem::path file(path);
  SetCurrentDirectoryW(file.parent_path().c_str());
  return file;
}

}  // namespace

std::optional<std::filesystem::path> Win32FamiliarFilePicker::ChooseFileToSave() { return Choose(true); }

std::optional<std::filesystem::path> Win32FamiliarFilePicker::ChooseFileToOpen() { return Choose(false); }

std::string Win32FamiliarFilePicker::PathText(const std::filesystem::path& path) const {
  return win32::Narrow(path.wstring());
}

}  // namespace bpcalc
