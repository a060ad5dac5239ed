// Start-up benchmark: starts Varndell and the minimal dialog program the same way (CreateProcessW
// in an empty game folder) several times each, measures from just before process creation until
// the program's first dialog is visible, and prints the median of each and their ratio.
//   startup_bench [runs] [program.exe]   (the second program defaults to Varndell)
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
  const std::filesystem::path program = argc > 2 ? std::filesystem::path(argv[2]) : e2e::WindowsPath(BENCH_VARNDELL_EXE);
  const std::filesystem::path baseline = e2e::WindowsPath(BENCH_MINIMAL_EXE);
  e2e::TempFolder folder;

  // One start of each first, not counted: it loads the files into the caches.
  if (!TimeToDialog(baseline, folder.Path()) || !TimeToDialog(program, folder.Path())) {
    std::fwprintf(stderr, L"cannot start %ls or %ls\n", baseline.c_str(), program.c_str());
    return 1;
  }
  std::vector<double> baselineMs, programMs;
  for (int i = 0; i < runs; ++i) {  // alternating, so that drifts of the machine hit both alike
    const auto a = TimeToDialog(baseline, folder.Path());
    const auto b = TimeToDialog(program, folder.Path());
    if (!a || !b) {
      std::fwprintf(stderr, L"run %d failed\n", i + 1);
      return 1;
    }
    baselineMs.push_back(*a);
    programMs.push_back(*b);
    std::wprintf(L"run %2d: minimal %7.1f ms, %ls %7.1f ms\n", i + 1, *a, program.filename().c_str(), *b);
  }
  const double baselineMedian = Median(baselineMs);
  const double programMedian = Median(programMs);
  std::wprintf(L"median over %d runs: minimal dialog %.1f ms, %ls %.1f ms, ratio %.2f\n", runs, baselineMedian,
               program.filename().c_str(), programMedian, programMedian / baselineMedian);
  return 0;
}
