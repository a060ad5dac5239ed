#include "dialog_host.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "dialog_view.h"
#include "text.h"

namespace win32 {
namespace {

// Everything one running dialog needs; lives on RunModalDialog's stack and travels to the
// dialog procedure through WM_INITDIALOG's lParam.
struct Host {
  ui::Dialog& dialog;
  std::optional<DialogView> view;
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  // The dialog's custom messages by their number in this session, with the dialog's tags.
  std::vector<std::pair<UINT, int>> customMessages;
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
    MessageBoxW(window, Widen(e.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(window, L"Unexpected error", L"Error", MB_OK | MB_ICONERROR);
  }
  return decltype(handler()){};
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
    FillRect(dc, &client, GetSysColorBrush(host.dialog.BackgroundColor()));
  }
  EndPaint(window, &paint);
}

void ResolveCustomMessages(HWND window, Host& host) {
  for (const auto& message : host.dialog.CustomMessages()) {
    UINT number = message.number;
    if (message.registeredName) {
      number = RegisterWindowMessageW(Widen(message.registeredName).c_str());
      // Registered messages are broadcasts of other programs (the shell's); a program run as
      // administrator receives them from ordinary ones only when it lets them through.
      if (number != 0) ChangeWindowMessageFilterEx(window, number, MSGFLT_ALLOW, nullptr);
    }
    if (number != 0) host.customMessages.emplace_back(number, message.tag);
  }
}

// A custom message goes to the dialog; the default handling still follows (FALSE).
INT_PTR RouteCustomMessage(HWND window, Host& host, UINT message, WPARAM wParam, LPARAM lParam) {
  for (const auto& [number, tag] : host.customMessages) {
    if (number != message) continue;
    Guarded(window, [&] {
      host.dialog.OnCustomMessage(tag, wParam, lParam);
      return true;
    });
    break;
  }
  return FALSE;
}

INT_PTR OnInit(HWND window, Host& host) {
  SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(&host));
  host.view.emplace(window);
  host.dialog.Attach(&*host.view);
  ResolveCustomMessages(window, host);
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
      if (!IsIconic(window) && dialog.BackgroundColor() < 0) return FALSE;
      Paint(window, *host);
      return TRUE;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(host->bigIcon);
    default:
      return RouteCustomMessage(window, *host, message, wParam, lParam);
  }
}

}  // namespace

int RunModalDialog(ui::Dialog& dialog, HWND owner) {
  Host host{dialog, std::nullopt, nullptr, nullptr, {}};
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog.TemplateId()), owner,
                      DialogProc, reinterpret_cast<LPARAM>(&host));
  dialog.Attach(nullptr);
  return static_cast<int>(result);
}

}  // namespace win32
