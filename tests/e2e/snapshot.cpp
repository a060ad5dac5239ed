// e2e_snapshot <program.exe> <working folder> <picture.bmp> [paste]: starts the program in the
// folder, waits for its first dialog, saves a picture of it, then closes the program
// (IDCANCEL, the Esc key's command) and, if it does not end, kills it. With "paste" (Varndell
// beside a running game client), it presses the login paste button, says yes, and pictures the
// whole screen while the paste is under way. Used by scripts/demo.sh when there is no display to
// look at.
#include <cstdio>
#include <string>

#include "driver.h"

int wmain(int argc, wchar_t** argv) {
  const bool paste = argc == 5 && std::wstring(argv[4]) == L"paste";
  if (argc != 4 && !paste) {
    std::fwprintf(stderr, L"usage: e2e_snapshot <program.exe> <working folder> <picture.bmp> [paste]\n");
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
  bool saved = false;
  if (paste) {
    constexpr int kPasteButton = 1048;
    dialog.Click(kPasteButton);
    const auto question = e2e::WaitForMessageBox(program.Id(), {dialog});
    if (question && e2e::Answer(question->window, IDYES)) {
      Sleep(2500);  // the ID is in, the password under way
      saved = e2e::SaveScreenScreenshot(path(argv[3]));
      if (const auto done = e2e::WaitForMessageBox(program.Id(), {dialog})) {
        std::printf("paste ended: \"%s\"\n", e2e::ToUtf8(done->text).c_str());
        e2e::Answer(done->window, IDOK);
      }
    }
  } else {
    saved = dialog.SaveScreenshot(path(argv[3]));
  }
  // UTF-8, the terminal's encoding under the ja_JP.UTF-8 locale.
  std::printf("window \"%s\" shown; picture %s\n", e2e::ToUtf8(dialog.Title()).c_str(), saved ? "saved" : "NOT saved");
  dialog.PostCommand(IDCANCEL);
  if (!program.WaitForExit(e2e::Timeout{10000})) program.Kill();
  return saved ? 0 : 1;
}
