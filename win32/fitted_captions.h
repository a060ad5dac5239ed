#pragma once
// Push buttons whose caption is the player's own (owner-drawn, BS_OWNERDRAW in the template):
// a caption too long for its button is cut at its end with an ellipsis, so that two long names
// stay apart, and shown whole in a tooltip. The caption itself (the window text) stays whole.
#include <windows.h>

#include <string>

namespace win32 {

class FittedCaptions {
 public:
  // Gives every owner-drawn push button of the dialog a tooltip; none when it has none.
  void Attach(HWND dialog);
  // WM_DRAWITEM; false for an item that is not such a button.
  bool Draw(const DRAWITEMSTRUCT& item) const;
  // WM_NOTIFY: a tooltip asks for its text, the whole caption when it is cut, none otherwise.
  void OnNotify(LPARAM lParam);

 private:
  HWND m_tooltip = nullptr;  // owned by the dialog: it goes with it
  std::wstring m_tip;        // the text the tooltip was last given, alive while it shows
};

}  // namespace win32
