// Start-up benchmark: starts the minimal dialog program, Varndell's template floor (its resources
// with no logic) and Varndell the same way (CreateProcessW in an empty game folder) several times
// each, measures from just before process creation until the program's first dialog is visible,
// and prints the medians and Varndell's ratio to each baseline.
//   startup_bench [runs] [program.exe]   (the program defaults to Varndell)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "driver.h"

namespace {

constexpr DWORD kStartTimeoutMs = 30000;

double Seconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds until a visible dialog of the started program exists; nullopt on failure.
std::optional<double> TimeToDialog(const std::filesystem::path& exe, const std::filesystem::path& folder) {
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  e2e::Process process(exe, folder);
  if (!process.Started()) return std::nullopt;
  for (;;) {
    // Poll tightly: a coarse interval would blur differences of a few milliseconds.
    const bool shown = !e2e::VisibleTopLevelWindows(process.Id()).empty();
    QueryPerformanceCounter(&now);
    const double elapsedMs = Seconds(now.QuadPart - start.QuadPart) * 1000.0;
    if (shown) return elapsedMs;
    if (elapsedMs > kStartTimeoutMs || !process.IsRunning()) return std::nullopt;
    Sleep(1);
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
  struct Program {
    const wchar_t* name;
    std::filesystem::path exe;
    std::vector<double> ms;
  };
  std::vector<Program> programs{
      {L"minimal dialog", e2e::WindowsPath(BENCH_MINIMAL_EXE), {}},
      {L"template floor", e2e::WindowsPath(BENCH_FLOOR_EXE), {}},
      {L"program", argc > 2 ? std::filesystem::path(argv[2]) : e2e::WindowsPath(BENCH_VARNDELL_EXE), {}},
  };
  e2e::TempFolder folder;

  // One start of each first, not counted: it loads the files into the caches.
  for (const Program& program : programs) {
    if (!TimeToDialog(program.exe, folder.Path())) {
      std::fwprintf(stderr, L"cannot start %ls\n", program.exe.c_str());
      return 1;
    }
  }
  for (int i = 0; i < runs; ++i) {  // interleaved, so that drifts of the machine hit all alike
    std::wprintf(L"run %2d:", i + 1);
    for (Program& program : programs) {
      const auto ms = TimeToDialog(program.exe, folder.Path());
      if (!ms) {
        std::fwprintf(stderr, L"\nrun %d of %ls failed\n", i + 1, program.exe.c_str());
        return 1;
      }
      program.ms.push_back(*ms);
      std::wprintf(L"  %ls %7.1f ms", program.exe.filename().c_str(), *ms);
    }
    std::wprintf(L"\n");
  }
  const double minimal = Median(programs[0].ms);
  const double floor = Median(programs[1].ms);
  const double measured = Median(programs[2].ms);
  std::wprintf(L"median over %d runs: minimal dialog %.1f ms, template floor %.1f ms, %ls %.1f ms\n", runs,
               minimal, floor, programs[2].exe.filename().c_str(), measured);
  std::wprintf(L"ratio to the minimal dialog %.2f; ratio to its own template floor %.3f\n", measured / minimal,
               measured / floor);
  // The three starts of a run share the machine's state of that moment; the median of the runs'
  // own ratios is steadier than the ratio of the medians when the machine drifts.
  std::vector<double> toMinimal, toFloor;
  for (int i = 0; i < runs; ++i) {
    toMinimal.push_back(programs[2].ms[i] / programs[0].ms[i]);
    toFloor.push_back(programs[2].ms[i] / programs[1].ms[i]);
  }
  std::wprintf(L"median of the runs' ratios: to the minimal dialog %.2f; to its own template floor %.3f\n",
               Median(toMinimal), Median(toFloor));
  return 0;
}
