// The paste's Win32 input service under Wine: what it leaves on the clipboard.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "paste_input_win32.h"

namespace {

TEST(PasteInputWin32Test, TheClipboardHoldsTheFieldAloneMarkedAsPrivate) {
  // Earlier content in another format must not stand beside the field.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const wchar_t earlier[] = L"earlier";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof earlier);
  memcpy(GlobalLock(block), earlier, sizeof earlier);
  GlobalUnlock(block);
  ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, block));
  CloseClipboard();

  // The owner: a hidden window of ours, as the main window is behind its tray icon.
  const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(owner);
  switcher::Win32PasteInput input;
  ASSERT_TRUE(input.PutOnClipboard(reinterpret_cast<paste::WindowRef>(owner), "Pass.word_1"));
  input.CloseClipboard();
  EXPECT_EQ(GetClipboardOwner(), owner);

  ASSERT_TRUE(OpenClipboard(nullptr));
  const HANDLE text = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(text);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "Pass.word_1");
  GlobalUnlock(text);
  const HANDLE unicode = GetClipboardData(CF_UNICODETEXT);  // converted from CF_TEXT, not the earlier text
  ASSERT_TRUE(unicode);
  EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(unicode)), L"Pass.word_1");
  GlobalUnlock(unicode);
  for (const wchar_t* name : {L"ExcludeClipboardContentFromMonitorProcessing", L"CanIncludeInClipboardHistory",
                              L"CanUploadToCloudClipboard"}) {
    const HANDLE mark = GetClipboardData(RegisterClipboardFormatW(name));
    ASSERT_TRUE(mark);
    EXPECT_EQ(GlobalSize(mark), sizeof(DWORD));
    EXPECT_EQ(*static_cast<const DWORD*>(GlobalLock(mark)), 0u);
    GlobalUnlock(mark);
  }
  CloseClipboard();
  DestroyWindow(owner);
}

}  // namespace
