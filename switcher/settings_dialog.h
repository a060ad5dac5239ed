#pragma once
// The modal settings dialog "各種設定": edits every setting of VRND.INI except the installed
// slot and the window title.
#include <array>
#include <filesystem>
#include <string>

#include "dialog.h"
#include "file_system.h"
#include "protected_value.h"

namespace settings {
class SettingsFile;
enum class GameExe;
}

namespace switcher {

class CSettingsDlg : public ui::Dialog {
 public:
  CSettingsDlg(fsys::WholeFiles& files, settings::SecretProtector& protector);

  ui::Background BackgroundColor() const override;
  bool OnInitDialog() override;
  bool OnCommand(int id) override;
  void OnOK() override;
  void OnCancel() override;

  void OnSelectXgpuk();
  void OnSelectCrossGate();
  void OnSelectXgpuk2();

  // One per key the dialog edits: every key of the file but setdata and windowname.
  static constexpr std::size_t kFieldCount = 37;

 private:
  void SelectExe(int id);
  settings::GameExe CheckedExe() const;
  // Shows the file's values; with untouchedOnly, only in the fields the player has not changed.
  void Fill(const settings::SettingsFile& settings, bool untouchedOnly);
  bool IsChanged(std::size_t field) const;
  // OK after an opening that could not read the file: reads it again and shows it, writes nothing.
  void Reload();
  // Names the passwords and CD-KEYs shown empty because they cannot be unprotected here.
  void ReportUnreadable();
  // The plain passwords and CD-KEYs the dialog kept, once it closes.
  void WipeShown();

  fsys::WholeFiles& m_files;
  settings::SecretProtector& m_protector;
  std::filesystem::path m_iniPath;
  // False while the fields show defaults because the file could not be read: writing them
  // would wipe every account.
  bool m_loaded = false;
  bool m_exeClicked = false;
  bool m_messageClicked = false;
  bool m_protectClicked = false;
  bool m_protectStored = false;  // the file has the option's key with a value
  // Each text field as set from the file: the bytes set, the text the window shows for them,
  // and whether the bytes are the file's own value (not a default or a replacement).
  std::array<std::string, kFieldCount> m_shown;
  std::array<std::string, kFieldCount> m_displayed;
  std::array<bool, kFieldCount> m_stored{};
  std::array<settings::SecretForm, kFieldCount> m_forms{};  // how each password and CD-KEY is stored
};

}  // namespace switcher
