// Login paste benchmark (not a test): Varndell pastes an account into the stand-in game client
// at speeds 1, 5 and 10; the client's log gives each key's hold time as the client saw it and the
// paste's duration from the first click to the end of the final click. Prints, per speed, the
// median, 95th-percentile and worst hold-time error in ms, the shortest hold against the one asked
// for (a hold cut short is the fault that matters: a game can miss the key), and the duration as
// a ratio to the nominal schedule.   paste_bench.exe [rounds]   (default 1)
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "driver.h"
#include "login_paste.h"

namespace {

constexpr char kId[] = "player_01";
constexpr char kPassword[] = "Secret.pass-9";
constexpr char kCdKey[] = "ABCD-EFGH-1234";
constexpr int kPasteButton = 1048;

struct Run {
  std::vector<double> holdErrors;  // absolute, ms
  double shortestHoldMs = 1e9;     // against the hold asked for: negative when cut short
  double firstClickMs = 0;
  double finalReleaseMs = 0;
  int clicks = 0;
};

Run ParseLog(const std::string& log, int holdMs) {
  Run run;
  std::istringstream lines(log);
  std::string word;
  double downAt = -1;
  int downKey = 0;
  while (lines >> word) {
    if (word == "click") {
      int x = 0, y = 0;
      double held = 0, at = 0;
      lines >> x >> y >> held >> at;
      if (run.clicks++ == 0) run.firstClickMs = at;
      run.finalReleaseMs = at + held;
    } else if (word == "key") {
      std::string kind;
      int key = 0, shift = 0, caps = 0;
      double at = 0;
      lines >> kind >> key >> shift >> caps >> at;
      if (key == paste::kVkShift) continue;
      if (kind == "down") {
        downAt = at;
        downKey = key;
      } else if (key == downKey && downAt >= 0) {
        run.holdErrors.push_back(std::fabs(at - downAt - holdMs));
        run.shortestHoldMs = std::min(run.shortestHoldMs, at - downAt - holdMs);
        downAt = -1;
      }
    } else {
      std::string rest;
      std::getline(lines, rest);
    }
  }
  return run;
}

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
  return values[std::min(index, values.size() - 1)];
}

// One paste at the speed; false when something did not happen as expected.
bool PasteOnce(const e2e::TempFolder& game, int speed, int round, Run& run) {
  const std::string ini = std::string("[全般]\r\nsetdata=1\r\nexepath=1\r\n[貼付]\r\n01ID=") + kId +
                          "\r\n01PASS=" + kPassword + "\r\n01KEY=" + kCdKey + "\r\nspeed=" +
                          std::to_string(speed) + "\r\nmessage=off\r\n";
  if (!game.Write("VRND.INI", ini)) return false;
  const std::wstring log = L"client-" + std::to_wstring(speed) + L"-" + std::to_wstring(round) + L".log";
  e2e::Process client(e2e::WindowsPath(BENCH_STANDIN_EXE), game.Path(), L"--log \"" + (game / log).wstring() + L"\"");
  HWND clientWindow = nullptr;
  if (!e2e::WaitUntil([&] { return (clientWindow = FindWindowW(L" ＣＲＯＳＳＧＡＴＥ ", nullptr)) != nullptr; })) {
    return false;
  }
  e2e::Process varndell(e2e::WindowsPath(BENCH_VARNDELL_EXE), game.Path());
  const e2e::Window main = e2e::WaitForDialog(varndell.Id());
  if (!main) return false;
  main.Click(kPasteButton);
  const auto question = e2e::WaitForMessageBox(varndell.Id(), {main});
  if (!question || !e2e::Answer(question->window, IDYES)) return false;
  const bool finished = e2e::WaitUntil(
      [&] {
        run = ParseLog(game.Read(log).value_or(""), speed * 10);
        return run.clicks == 4;
      },
      e2e::Timeout{60000});
  Sleep(200);
  return finished;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 1;
  e2e::TempFolder game;
  std::printf("login paste against the stand-in client, %d round(s) per speed\n", rounds);
  std::printf("speed  hold  keys  median err  p95 err  worst err  shortest-asked  duration/nominal\n");
  for (const int speed : {1, 5, 10}) {
    const int holdMs = speed * 10;
    std::vector<double> errors;
    std::vector<double> ratios;
    double shortest = 1e9;
    for (int round = 0; round < rounds; ++round) {
      Run run;
      if (!PasteOnce(game, speed, round, run)) {
        std::printf("speed %d: the paste did not complete\n", speed);
        return 1;
      }
      const paste::Credentials texts{kId, kPassword, kCdKey};
      const auto keys = paste::KeysFor(texts, [](char c) { return VkKeyScanW(static_cast<wchar_t>(c)); }).keys;
      const auto plan = paste::PlanFields(
          {paste::kFieldOffsets[0], paste::kFieldOffsets[1], paste::kFieldOffsets[2], paste::kFinalOffset}, true,
          texts, keys, holdMs);
      const double nominal = plan.steps.back().atMs - plan.steps.front().atMs;
      ratios.push_back((run.finalReleaseMs - run.firstClickMs) / nominal);
      errors.insert(errors.end(), run.holdErrors.begin(), run.holdErrors.end());
      shortest = std::min(shortest, run.shortestHoldMs);
    }
    std::printf("%5d  %4d  %4zu  %10.3f  %7.3f  %9.3f  %14.3f  %.5f", speed, holdMs, errors.size(),
                Percentile(errors, 0.5), Percentile(errors, 0.95), Percentile(errors, 1.0), shortest,
                *std::max_element(ratios.begin(), ratios.end()));
    if (rounds > 1) std::printf(" (worst of %d)", rounds);
    std::printf("\n");
  }
  return 0;
}
