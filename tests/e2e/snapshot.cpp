// e2e_snapshot <program.exe> <working folder> <picture.bmp> [mode]: starts the program in the
// folder, waits for its first dialog, saves a picture, then closes the program (IDCANCEL, the Esc
// key's command) and, if it does not end, kills it. Used by scripts/demo.sh when there is no
// display to look at. Modes:
//   (none)    the program's window
//   settings  Varndell's settings dialog, opened with its button
//   tray      the whole screen with Varndell hidden and its tray menu open
//   paste     the whole screen while a login paste into a running game client is under way
//   result    Quorrin's window after a worked example has been computed
#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "bpcalc/control_ids.h"  // Quorrin's; resource.h below is Varndell's
#include "driver.h"
#include "paste_preparation.h"
#include "resource.h"
#include "tray_message.h"

namespace {

bool Settings(const e2e::Process& program, const e2e::Window& main, const std::filesystem::path& bmp) {
  constexpr int kSettingsButton = IDC_OPEN_SETTINGS;
  main.Click(kSettingsButton);
  const e2e::Window settings = e2e::WaitForDialog(program.Id(), L"各種設定");
  if (!settings) return false;
  const bool saved = settings.SaveScreenshot(bmp);
  settings.PostCommand(IDCANCEL);
  settings.WaitUntilClosed();
  return saved;
}

RECT ScreenRect(const e2e::Window& window) {
  RECT rect{};
  GetWindowRect(window.Handle(), &rect);
  return rect;
}

bool Tray(const e2e::Process& program, const e2e::Window& main, const std::filesystem::path& bmp) {
  constexpr int kHideButton = IDC_TRAY_MODE;
  main.Click(kHideButton);
  // The press comes once the hide is over, as a player's does. Wine handles the hidden window's
  // loss of the X focus when the program next waits for input; a menu opened before that is
  // cancelled by it. The icon drawn on the screen means the program has gone idle since.
  const bool hidden = e2e::WaitUntil([&] {
    const auto icons = e2e::TrayIcons();
    return !main.IsVisible() && icons.size() == 1 && icons.front().ShowsDrawing();
  });
  if (!hidden) {
    std::fwprintf(stderr, L"the window did not hide behind a tray icon\n");
    return false;
  }
  SetCursorPos(600, 500);
  PostMessageW(main.Handle(), switcher::kTrayCallbackMessage, 0, WM_RBUTTONDOWN);
  e2e::Window menu;
  e2e::WaitUntil([&] {
    const auto menus = e2e::VisibleTopLevelWindows(program.Id(), L"#32768");
    if (!menus.empty()) menu = menus.front();
    return static_cast<bool>(menu);
  });
  if (!menu) {
    std::fwprintf(stderr, L"no tray menu appeared\n");
    return false;
  }
  // Drawn: the menu's face with its items' text on it.
  const bool drawn = e2e::WaitUntil([&] {
    const auto pixels = e2e::ScreenPixels(ScreenRect(menu));
    return std::ranges::find(pixels, GetSysColor(COLOR_MENU)) != pixels.end() && menu.ShowsDrawing();
  });
  if (!drawn) {
    std::fwprintf(stderr, L"the tray menu %ls\n", menu.IsVisible() ? L"was not drawn" : L"closed before it was drawn");
    return false;
  }
  const bool saved = e2e::SaveScreenScreenshot(bmp);
  PostMessageW(menu.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  return saved;
}

bool Paste(const e2e::Process& program, const e2e::Window& main, const std::filesystem::path& bmp) {
  // The game client (the stand-in that demo.sh starts), on the screen before the paste looks for it.
  constexpr wchar_t kGameClass[] = L" ＣＲＯＳＳＧＡＴＥ ";
  HWND client = nullptr;
  if (!e2e::WaitUntil([&] { return (client = FindWindowW(kGameClass, nullptr)) && IsWindowVisible(client); })) {
    std::fwprintf(stderr, L"no game client window (class \"%ls\") appeared\n", kGameClass);
    return false;
  }
  constexpr int kPasteButton = IDC_PASTE_LOGIN;
  main.Click(kPasteButton);
  const auto question = e2e::WaitForMessageBox(program.Id(), {main});
  if (!question || !e2e::Answer(question->window, IDYES)) {
    std::fwprintf(stderr, L"the paste did not ask to begin\n");
    return false;
  }
  // The picture once the password field shows its first characters: the ID is in, the rest under
  // way. The stand-in fills a field of 180 x 22 around the point the paste clicks in it, one
  // colour until it shows text.
  const RECT outer = ScreenRect(e2e::Window(client));
  const auto [x, y] = paste::kFieldOffsets[1];
  const RECT password{outer.left + x - 88, outer.top + y - 9, outer.left + x + 88, outer.top + y + 9};
  if (!e2e::WaitUntil([&] { return e2e::ShowsDrawing(password); })) {
    std::fwprintf(stderr, L"the password field showed nothing typed\n");
    return false;
  }
  const bool saved = e2e::SaveScreenScreenshot(bmp);
  if (const auto done = e2e::WaitForMessageBox(program.Id(), {main})) {
    std::printf("paste ended: \"%s\"\n", e2e::ToUtf8(done->text).c_str());
    e2e::Answer(done->window, IDOK);
  }
  return saved;
}

bool Result(const e2e::Window& main, const std::filesystem::path& bmp) {
  using namespace bpcalc::ids;
  main.SetText(kName, L"ポチ");
  main.SetText(kLevel, L"10");
  const std::array<const wchar_t*, 5> current{L"30", L"20", L"20", L"20", L"20"};
  const std::array<const wchar_t*, 5> level1{L"12", L"8", L"8", L"8", L"8"};
  for (size_t i = 0; i < current.size(); ++i) {
    main.SetText(kCurrentBp[i], current[i]);
    main.SetText(kLevel1Bp[i], level1[i]);
  }
  main.SetText(kCompareLevel, L"20");
  main.SetText(kRemaining, L"5");
  main.Click(kShowResult);
  if (!e2e::WaitUntil([&] { return !main.Text(kOverallRate).empty() && main.Text(kOverallRate) != L"0"; })) return false;
  return main.SaveScreenshot(bmp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc == 5 ? argv[4] : L"";
  if (argc != 4 && argc != 5) {
    std::fwprintf(stderr, L"usage: e2e_snapshot <program.exe> <working folder> <picture.bmp> "
                          L"[settings|tray|paste|result]\n");
    return 2;
  }
  const auto path = [](const wchar_t* arg) { return e2e::WindowsPath(e2e::ToUtf8(arg)); };
  e2e::Process program(path(argv[1]), path(argv[2]));
  if (!program.Started()) {
    std::fwprintf(stderr, L"cannot start %ls\n", argv[1]);
    return 1;
  }
  const e2e::Window dialog = e2e::WaitForDialog(program.Id());
  if (!dialog) {
    std::fwprintf(stderr, L"no window appeared\n");
    return 1;
  }
  const std::filesystem::path bmp = path(argv[3]);
  bool saved = false;
  if (mode == L"settings") {
    saved = Settings(program, dialog, bmp);
  } else if (mode == L"tray") {
    saved = Tray(program, dialog, bmp);
  } else if (mode == L"paste") {
    saved = Paste(program, dialog, bmp);
  } else if (mode == L"result") {
    saved = Result(dialog, bmp);
  } else {
    saved = dialog.SaveScreenshot(bmp);
  }
  // UTF-8, the terminal's encoding under the ja_JP.UTF-8 locale.
  std::printf("window \"%s\" shown; picture %s\n", e2e::ToUtf8(dialog.Title()).c_str(), saved ? "saved" : "NOT saved");
  dialog.PostCommand(IDCANCEL);
  if (!program.WaitForExit(e2e::Timeout{10000})) program.Kill();
  return saved ? 0 : 1;
}
