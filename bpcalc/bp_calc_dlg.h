#pragma once
// The calculator dialog. Its edit boxes are the program's only data store: every handler reads
// their texts and writes texts back.
#include <optional>
#include <string>

#include "dialog.h"
#include "familiar_file_picker.h"
#include "file_system.h"

namespace bpcalc {

class CBpCalcDlg : public ui::Dialog {
 public:
  CBpCalcDlg(FamiliarFilePicker& picker, fsys::FileSystem& files);

  int IconId() const override;
  bool OnInitDialog() override;
  bool OnCommand(int id) override;

  void OnShowResult();
  void OnSaveData();
  void OnLoadData();
  void OnAppendCsv();
  void OnSetLv1();

 private:
  void ShowWriteResult(const fsys::WriteResult& result, const std::string& file, const char* button,
                       const std::string& successText);
  // A box's text for a file; nullopt, after telling the player, when it holds a character that
  // Shift-JIS cannot hold.
  std::optional<std::string> StorableText(int box, const std::string& name);

  FamiliarFilePicker& m_picker;
  fsys::FileSystem& m_files;
};

}  // namespace bpcalc
