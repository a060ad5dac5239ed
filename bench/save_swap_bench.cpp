// Save-swap benchmark: account switches through the real file system in a throw-away game
// folder, with a 1 KiB save file and with a 1 GiB one (sparse where the file system allows), and
// the median time of one switch for each and their ratio. A switch only renames, so the size of
// the save should not matter.
//   save_swap_bench [switches]   (default 41)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "file_system_win32.h"
#include "save_swap.h"
#include "tests/sparse_file.h"

namespace {

namespace fs = std::filesystem;

constexpr LONGLONG kSmall = 1LL << 10;
constexpr LONGLONG kLarge = 1LL << 30;

double Milliseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}


// Median milliseconds of one switch between slots 1 and 2, whose saves have the given length;
// negative when a switch failed.
double MedianSwitch(const fs::path& game, LONGLONG length, int switches) {
  std::error_code ignored;
  fs::remove_all(game, ignored);
  fs::create_directories(game / "data");
  if (!win32::testing::MakeSparseFile(game / "data" / "save.dat", length) || !win32::testing::MakeSparseFile(game / "data" / "save2.dat", length)) return -1;
  SetCurrentDirectoryW(game.c_str());
  win32::Win32FileSystem files;
  std::vector<double> times;
  int slot = 1;  // the live save is slot 1's
  if (!files.Replace(game / "VRND.INI", "[全般]\r\nsetdata=1\r\n")) return -1;
  for (int i = 0; i < switches; ++i) {
    const int next = 3 - slot;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const switcher::SwitchResult result = switcher::SwitchSaveFiles(files, files, next);
    QueryPerformanceCounter(&end);
    if (!result.completed) {
      std::fprintf(stderr, "switch %d failed\n", i);
      return -1;
    }
    times.push_back(Milliseconds(end.QuadPart - start.QuadPart));
    slot = next;
  }
  SetCurrentDirectoryW(fs::temp_directory_path().c_str());
  fs::remove_all(game, ignored);
  return Median(times);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int switches = argc > 1 ? std::max(1, _wtoi(argv[1])) : 41;
  const fs::path game = fs::temp_directory_path() / ("save-swap-bench-" + std::to_string(GetCurrentProcessId()));
  const double small = MedianSwitch(game, kSmall, switches);
  const double large = MedianSwitch(game, kLarge, switches);
  if (small < 0 || large < 0) return 1;
  std::printf("save swap, median of %d switches: 1 KiB save %.3f ms, 1 GiB save %.3f ms, ratio %.2f\n", switches,
              small, large, large / small);
  return 0;
}
