#pragma once
// The modal settings dialog "各種設定": edits every setting of VRND.INI except the installed
// slot and the window title.
#include <filesystem>

#include "dialog.h"
#include "file_system.h"

namespace switcher {

// Texts longer than this are cut (at a character boundary) when written: the most a value of
// the settings file has ever held.
inline constexpr std::size_t kMaxWrittenValueBytes = 127;

class CSettingsDlg : public ui::Dialog {
 public:
  explicit CSettingsDlg(fsys::FileSystem& files);

  int BackgroundColor() const override;
  bool OnInitDialog() override;
  bool OnCommand(int id) override;
  void OnOK() override;

  void OnSelectXgpuk();
  void OnSelectCrossGate();
  void OnSelectXgpuk2();

 private:
  void SelectExe(int id);

  fsys::FileSystem& files_;
  std::filesystem::path m_iniPath;
};

}  // namespace switcher
