#include "fitted_captions.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

namespace win32 {
namespace {

// The room a push button leaves around its caption, in dialog units: it grows with the font and
// the DPI as the button does.
constexpr int kCaptionInsetX = 3;
constexpr int kCaptionInsetY = 1;
constexpr UINT kCaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;

bool IsOwnerDrawnButton(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return lstrcmpiW(className, WC_BUTTONW) == 0 &&
         (static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & BS_TYPEMASK) == BS_OWNERDRAW;
}

std::wstring Caption(HWND button) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(button, text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT CaptionRect(HWND button, RECT rect) {
  RECT inset{0, 0, kCaptionInsetX, kCaptionInsetY};
  MapDialogRect(GetParent(button), &inset);
  InflateRect(&rect, -inset.right, -inset.bottom);
  return rect;
}

// Whether the caption is wider than the room the button leaves for it.
bool IsCut(HWND button, HDC dc, const std::wstring& caption) {
  const RECT room = CaptionRect(button, [&] {
    RECT client{};
    GetClientRect(button, &client);
    return client;
  }());
  RECT needed{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), -1, &needed, kCaptionFormat | DT_CALCRECT);
  return needed.right - needed.left > room.right - room.left;
}

// Selects the button's own font into the device context for its life.
class ButtonFont {
 public:
  ButtonFont(HWND button, HDC dc)
      : m_dc(dc), m_old(SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(button, WM_GETFONT, 0, 0)))) {}
  ~ButtonFont() { SelectObject(m_dc, m_old); }
  ButtonFont(const ButtonFont&) = delete;
  ButtonFont& operator=(const ButtonFont&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

void DrawFace(const DRAWITEMSTRUCT& item, bool pushed, bool disabled) {
  RECT rect = item.rcItem;
  // Themed like the other buttons where visual styles are on; the classic face otherwise.
  if (HTHEME theme = OpenThemeData(item.hwndItem, L"BUTTON")) {
    const int state = disabled ? PBS_DISABLED : pushed ? PBS_PRESSED : PBS_NORMAL;
    DrawThemeParentBackground(item.hwndItem, item.hDC, &rect);
    DrawThemeBackground(theme, item.hDC, BP_PUSHBUTTON, state, &rect, nullptr);
    CloseThemeData(theme);
    return;
  }
  DrawFrameControl(item.hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
}

}  // namespace

void FittedCaptions::Attach(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsOwnerDrawnButton(child)) continue;
    if (!m_tooltip) {
      m_tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
      if (!m_tooltip) return;
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(child);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

bool FittedCaptions::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.CtlType != ODT_BUTTON || !IsOwnerDrawnButton(item.hwndItem)) return false;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  DrawFace(item, pushed, disabled);

  const ButtonFont font(item.hwndItem, item.hDC);
  RECT text = CaptionRect(item.hwndItem, item.rcItem);
  if (pushed) OffsetRect(&text, 1, 1);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextW(item.hDC, Caption(item.hwndItem).c_str(), -1, &text, kCaptionFormat | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(item.hDC, &focus);
  }
  return true;
}

void FittedCaptions::OnNotify(LPARAM lParam) {
  auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  if (!m_tooltip || info->hdr.hwndFrom != m_tooltip || info->hdr.code != TTN_GETDISPINFOW) return;
  const auto button = reinterpret_cast<HWND>(info->hdr.idFrom);
  m_tip = Caption(button);
  HDC dc = GetDC(button);
  bool cut = false;
  if (dc) {
    const ButtonFont font(button, dc);
    cut = IsCut(button, dc, m_tip);
  }
  ReleaseDC(button, dc);
  // An empty text shows no tooltip: a caption shown whole needs none.
  if (!cut) m_tip.clear();
  info->lpszText = m_tip.data();
}

}  // namespace win32
