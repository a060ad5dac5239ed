#include "tray_win32.h"

#include <shellapi.h>

#include <iterator>
#include <memory>
#include <type_traits>

#include "dialog_view.h"
#include "resource.h"
#include "system_function.h"
#include "text.h"
#include "tray_message.h"

namespace switcher {
namespace {

// The one icon of the window.
NOTIFYICONDATAW IconOf(HWND window) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = 0;
  return data;
}

bool NotifyIcon(DWORD message, NOTIFYICONDATAW& data) {
  static const auto notify =
      win32::SystemFunction<decltype(&Shell_NotifyIconW)>(L"shell32.dll", "Shell_NotifyIconW");
  return notify && notify(message, &data);
}

struct MenuDestroyer {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;

}  // namespace

Win32Tray::~Win32Tray() {
  if (!m_iconOwner) return;
  NOTIFYICONDATAW data = IconOf(m_iconOwner);
  NotifyIcon(NIM_DELETE, data);
}

bool Win32Tray::AddIcon(ui::View& owner, int iconId, const std::string& tip) {
  HWND window = win32::WindowOf(owner);
  if (!window) return false;
  NOTIFYICONDATAW data = IconOf(window);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  // Shared icons belong to the system: nothing to free.
  data.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                             LR_SHARED));
  win32::Widen(tip).copy(data.szTip, std::size(data.szTip) - 1);
  // A shell that outlived a broadcast of a new taskbar may still show the icon.
  if (!NotifyIcon(NIM_ADD, data) && !NotifyIcon(NIM_MODIFY, data)) return false;
  m_iconOwner = window;
  return true;
}

void Win32Tray::DeleteIcon(ui::View& owner) {
  HWND window = win32::WindowOf(owner);
  NOTIFYICONDATAW data = IconOf(window);
  NotifyIcon(NIM_DELETE, data);
  if (window == m_iconOwner) m_iconOwner = nullptr;
}

void Win32Tray::ShowMenu(ui::View& owner, const std::string& userProgram) {
  HWND window = win32::WindowOf(owner);
  POINT cursor{};
  GetCursorPos(&cursor);
  // Only a menu whose owner is in front closes when the player clicks elsewhere.
  SetForegroundWindow(window);
  const UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
  if (!menu) return;
  ModifyMenuW(menu.get(), ID_TRAY_USER_PROGRAM, MF_BYCOMMAND | MF_STRING, ID_TRAY_USER_PROGRAM,
              win32::Widen(userProgram).c_str());
  TrackPopupMenu(GetSubMenu(menu.get(), 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window,
                 nullptr);
  // Lets the menu's loop end properly when it was dismissed by a click elsewhere.
  PostMessageW(window, WM_NULL, 0, 0);
}

void Win32Tray::BringOpenWindowToFront(ui::View& owner) {
  // The popup the player used last: the box or dialog that the window waits on.
  const HWND window = win32::WindowOf(owner);
  const HWND popup = GetLastActivePopup(window);
  SetForegroundWindow(popup ? popup : window);
}

}  // namespace switcher
