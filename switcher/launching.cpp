// Starting the game client, the player's designated program and the familiar calculator.
#include "main_dialog.h"

namespace switcher {
namespace {

constexpr char kFamiliarCalculator[] = "Quorrin.exe";

std::string LaunchError(const std::string& name) { return "[" + name + "] 実行処理エラー"; }

}  // namespace

void CSwitcherDlg::OnOK() {
  const std::string path = shell_.TextFromPath(m_gameExePath);
  if (view().MessageBox(path + "\nにあるプログラムを起動させます", "確認", ui::Buttons::YesNo) == ui::kIdNo) {
    return;
  }
  if (!shell_.Open(m_gameExePath)) view().MessageBox(LaunchError(path), "OPEN ERROR", ui::Buttons::Ok);
}

void CSwitcherDlg::LaunchUserProgram() {
  if (m_userExePath.empty()) {
    view().MessageBox("設定されていません", "確認", ui::Buttons::Ok);
    return;
  }
  if (!shell_.Open(shell_.PathFromText(m_userExePath))) {
    view().MessageBox(LaunchError(m_userExeName), "OPEN ERROR", ui::Buttons::Ok);
  }
}

void CSwitcherDlg::LaunchFamiliarCalculator() {
  if (!shell_.Open(shell_.PathFromText(kFamiliarCalculator))) {
    view().MessageBox(LaunchError(kFamiliarCalculator), "OPEN ERROR", ui::Buttons::Ok);
  }
}

}  // namespace switcher
