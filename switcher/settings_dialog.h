#pragma once
// The modal settings dialog "各種設定": edits every setting of VRND.INI except the installed
// slot and the window title.
#include <array>
#include <filesystem>
#include <string>

#include "dialog.h"
#include "file_system.h"
#include "protected_value.h"
#include "settings_file_encoding.h"

namespace settings {
class SettingsFile;
enum class GameExe;
}

namespace switcher {

// What the dialog holds for one field between its filling and OK.
struct FieldState {
  std::string shown;      // the bytes set into the window (edits), or the file's value (choices)
  std::string displayed;  // the text the window shows for them
  bool stored = false;    // shown is the file's own value, not a default or a replacement
  settings::SecretForm form = settings::SecretForm::Plain;  // how a password or CD-KEY is stored
  // The file's line is what writing shown would put there: false for a value that loses blanks
  // or quotes around it when read (written by hand, or by an older Varndell).
  bool readsAsWritten = true;
  bool told = false;     // the player was told once that such a value would be protected as read
  bool clicked = false;  // a choice the player clicked since the field was filled
};

class CSettingsDlg : public ui::Dialog {
 public:
  CSettingsDlg(fsys::WholeFiles& files, settings::SecretProtector& protector,
               const settings::ShiftJisEncoder& encoder);

  ui::Background BackgroundColor() const override;
  bool OnInitDialog() override;
  bool OnCommand(int id) override;
  void OnOK() override;
  void OnCancel() override;

  // One per key the dialog edits: every key of the file but setdata and windowname.
  static constexpr std::size_t kFieldCount = 37;

 private:
  // A click on one of the game program's buttons.
  void ChooseExe(int button);
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
  const settings::ShiftJisEncoder& m_encoder;
  std::filesystem::path m_iniPath;
  // False while the fields show defaults because the file could not be read: writing them
  // would wipe every account.
  bool m_loaded = false;
  std::array<FieldState, kFieldCount> m_fields;
};

}  // namespace switcher
