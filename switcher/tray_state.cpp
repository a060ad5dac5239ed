#include "tray_state.h"

#include "messages.h"
#include "resource.h"

namespace switcher {

void TrayState::Toggle(ui::View& view) {
  if (m_shown) {
    Hide(view);
  } else {
    Show(view);
  }
}

void TrayState::Hide(ui::View& view) {
  view.Show(false);
  view.ShowTaskbarButton(false);
  if (!m_tray.AddIcon(view, IDR_MAINFRAME, kTrayTip)) {
    StayShown(view);
    return;
  }
  view.Show(false);
  m_shown = false;
}

void TrayState::Show(ui::View& view) {
  m_tray.DeleteIcon(view);
  view.ShowTaskbarButton(true);
  view.Show(true);
  m_shown = true;
}

void TrayState::StayShown(ui::View& view) {
  view.ShowTaskbarButton(true);
  view.Show(true);
  m_shown = true;
  view.Tell(kTrayAddFailed, msg::kErrorCaption);
}

void TrayState::OnIconMouse(ui::View& view, TrayIconMouse mouse, const std::string& userProgram) {
  if (mouse == TrayIconMouse::RightButtonDown) {
    m_tray.ShowMenu(view, userProgram);
  } else if (mouse == TrayIconMouse::LeftButtonUp && !m_shown) {
    Show(view);
  }
}

void TrayState::OnTaskbarCreated(ui::View& view) {
  if (m_shown) return;
  if (!m_tray.AddIcon(view, IDR_MAINFRAME, kTrayTip)) StayShown(view);
}

void TrayState::BeforeExit(ui::View& view) {
  if (!m_shown) m_tray.DeleteIcon(view);
}

}  // namespace switcher
