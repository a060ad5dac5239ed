#include "dialog_host.h"

#include <exception>
#include <optional>
#include <string>

#include "dialog_view.h"
#include "fitted_captions.h"
#include "shared_messages.h"
#include "text.h"

namespace win32 {
namespace {

// Everything one running dialog needs; lives on RunModalDialog's stack and travels to the
// dialog procedure through WM_INITDIALOG's lParam.
struct Host {
  ui::Dialog& dialog;
  std::optional<DialogView> view;
  FittedCaptions captions;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  MessageHook* hook = nullptr;
};

HICON LoadIconSized(int id, int metricX, int metricY) {
  if (id == 0) return nullptr;
  // Shared icons belong to the system: nothing to free.
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                       GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                       LR_SHARED));
}

// Exceptions must never unwind through Windows' own frames: report and carry on.
template <typename Handler>
auto Guarded(HWND window, Handler handler) -> decltype(handler()) {
  try {
    return handler();
  } catch (const std::exception& e) {
    MessageBoxW(window, Widen(e.what()).c_str(), Widen(msg::kErrorCaption).c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(window, Widen(msg::kUnexpectedError).c_str(), Widen(msg::kErrorCaption).c_str(), MB_OK | MB_ICONERROR);
  }
  return decltype(handler()){};
}

int SystemColor(ui::Background background) {
  switch (background) {
    case ui::Background::Desktop: return COLOR_BACKGROUND;
    case ui::Background::Light3d: return COLOR_3DLIGHT;
    case ui::Background::Standard: break;
  }
  return COLOR_3DFACE;
}

void Paint(HWND window, const Host& host) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  if (IsIconic(window)) {
    SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, host.bigIcon);
  } else {
    FillRect(dc, &client, GetSysColorBrush(SystemColor(host.dialog.BackgroundColor())));
  }
  EndPaint(window, &paint);
}

// A window the dialog hid stays hidden: the dialog manager shows a modal dialog when its message
// queue first runs empty, which may come after a quick "hide".
INT_PTR KeepHidden(const Host& host, LPARAM lParam) {
  if (host.view && host.view->KeptHidden()) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
  return FALSE;
}

INT_PTR OnInit(HWND window, Host& host) {
  SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&host));
  host.view.emplace(window);
  host.dialog.Attach(&*host.view);
  host.captions.Attach(window);
  if (host.hook) host.hook->OnCreate(window);
  host.bigIcon = LoadIconSized(host.dialog.IconId(), SM_CXICON, SM_CYICON);
  host.smallIcon = LoadIconSized(host.dialog.IconId(), SM_CXSMICON, SM_CYSMICON);
  if (host.bigIcon) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(host.bigIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(host.smallIcon));
  }
  return Guarded(window, [&] { return host.dialog.OnInitDialog(); }) ? TRUE : FALSE;
}

INT_PTR Result(HWND window, LRESULT result) {
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInit(window, *reinterpret_cast<Host*>(lParam));
  auto* host = reinterpret_cast<Host*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!host) return FALSE;
  ui::Dialog& dialog = host->dialog;

  switch (message) {
    case WM_COMMAND:
      // Clicks, Enter/Esc, menu items and accelerators; an edit box's notifications are not commands.
      if (HIWORD(wParam) > 1) return FALSE;
      return Guarded(window, [&] { return dialog.OnCommand(LOWORD(wParam)); }) ? TRUE : FALSE;
    case WM_SYSCOMMAND:
      return Guarded(window, [&] { return dialog.OnSysCommand(static_cast<int>(wParam)); })
                 ? Result(window, 0)
                 : FALSE;
    case WM_HELP:
      return Result(window, Guarded(window, [&] { return dialog.OnHelpInfo(); }) ? TRUE : FALSE);
    case WM_PAINT:
      if (!IsIconic(window) && dialog.BackgroundColor() == ui::Background::Standard) return FALSE;
      Paint(window, *host);
      return TRUE;
    case WM_DRAWITEM:
      return host->captions.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
      host->captions.OnNotify(lParam);
      return FALSE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(host->bigIcon);
    case WM_WINDOWPOSCHANGING:
      return KeepHidden(*host, lParam);
    default:
      if (!host->hook) return FALSE;
      return Guarded(window, [&] { return host->hook->OnMessage(window, message, wParam, lParam); });
  }
}

}  // namespace

int RunModalDialog(ui::Dialog& dialog, HWND owner, MessageHook* hook) {
  Host host{dialog, std::nullopt, {}, nullptr, nullptr, hook};
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.TemplateId()), owner,
                      DialogProc, reinterpret_cast<LPARAM>(&host));
  dialog.Attach(nullptr);
  return static_cast<int>(result);
}

}  // namespace win32
