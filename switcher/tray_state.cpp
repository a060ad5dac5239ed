#include "tray_state.h"

#include "resource.h"

namespace switcher {
namespace {

constexpr char kTip[] = "CROSS GATE Varndell Eskarholm";
constexpr char kAddFailed[] = "通知領域にアイコンを追加できませんでした。\nウィンドウを表示します。";

}  // namespace

void TrayState::Toggle(ui::View& view) {
  if (m_shown) {
    Hide(view);
  } else {
    Show(view);
  }
}

void TrayState::Hide(ui::View& view) {
  view.Show(false);
  // A tool window without the app-window style has no taskbar button.
  view.ModifyStyleEx(0, ui::kExToolWindow, true);
  view.ModifyStyleEx(ui::kExAppWindow, 0, false);
  if (!tray_.AddIcon(view, IDR_MAINFRAME, kTip)) {
    StayShown(view);
    return;
  }
  view.Show(false);
  m_shown = false;
}

void TrayState::Show(ui::View& view) {
  tray_.DeleteIcon(view);
  // The tool-window style stays: the window keeps its slim frame, now with a taskbar button.
  view.ModifyStyleEx(0, ui::kExAppWindow, false);
  view.Show(true);
  m_shown = true;
}

void TrayState::StayShown(ui::View& view) {
  view.ModifyStyleEx(0, ui::kExAppWindow, false);
  view.Show(true);
  m_shown = true;
  view.MessageBox(kAddFailed, "Error", ui::Buttons::Ok);
}

void TrayState::OnIconMouse(ui::View& view, std::intptr_t mouseMessage, const std::string& userProgram) {
  if (mouseMessage == kRightButtonDown) {
    tray_.ShowMenu(view, userProgram);
  } else if (mouseMessage == kLeftButtonUp && !m_shown) {
    Show(view);
  }
}

void TrayState::OnTaskbarCreated(ui::View& view) {
  if (m_shown) return;
  if (!tray_.AddIcon(view, IDR_MAINFRAME, kTip)) StayShown(view);
}

void TrayState::BeforeExit(ui::View& view) {
  if (!m_shown) tray_.DeleteIcon(view);
}

}  // namespace switcher
