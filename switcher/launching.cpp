#include "launching.h"

#include <optional>

#include "settings_file.h"

namespace switcher {
namespace {

constexpr char kFamiliarCalculator[] = "Quorrin.exe";
constexpr char kUnreadable[] =
    "設定ファイル（VRND.INI）を読み込めないため、起動できませんでした。\n"
    "他のプログラムが使用中かもしれません。しばらくしてからもう一度お試しください。";

std::string LaunchError(const std::string& name) { return "[" + name + "] 実行処理エラー"; }

// The settings for a launch; nullopt, after telling the player, when the file could not be read:
// its defaults would start another program than the one chosen.
std::optional<settings::SettingsFile> ReadSettings(fsys::WholeFiles& files, ui::View& view) {
  auto file = settings::SettingsFile::InWorkingFolder(files);
  if (file.Readable()) return file;
  view.MessageBox(kUnreadable, "FileReadError", ui::Buttons::Ok);
  return std::nullopt;
}

}  // namespace

std::optional<std::uint32_t> Launcher::StartGame(ui::View& view) {
  const auto settings = ReadSettings(m_files, view);
  if (!settings) return std::nullopt;
  const auto exe = m_files.WorkingFolder() / settings::GameExeFileName(settings::GameExeIn(*settings));
  const std::string path = m_shell.TextFromPath(exe);
  if (view.MessageBox(path + "\nにあるプログラムを起動させます", "確認", ui::Buttons::YesNo) == ui::kIdNo) {
    return std::nullopt;
  }
  const auto started = m_shell.Start(exe);
  if (!started) view.MessageBox(LaunchError(path), "OPEN ERROR", ui::Buttons::Ok);
  return started;
}

void Launcher::StartUserProgram(ui::View& view) {
  const auto settings = ReadSettings(m_files, view);
  if (!settings) return;
  const std::string path = settings->Read(settings::kUserExePath, settings::Reader::MainWindow);
  if (path.empty()) {
    view.MessageBox("設定されていません", "確認", ui::Buttons::Ok);
    return;
  }
  if (!m_shell.Open(m_shell.PathFromText(path))) {
    view.MessageBox(LaunchError(settings->Read(settings::kUserExeName, settings::Reader::MainWindow)), "OPEN ERROR",
                    ui::Buttons::Ok);
  }
}

void Launcher::StartFamiliarCalculator(ui::View& view) {
  if (!m_shell.Open(m_shell.PathFromText(kFamiliarCalculator))) {
    view.MessageBox(LaunchError(kFamiliarCalculator), "OPEN ERROR", ui::Buttons::Ok);
  }
}

std::string Launcher::UserProgramName() const {
  return settings::SettingsFile::InWorkingFolder(m_files).Read(settings::kUserExeName, settings::Reader::MainWindow);
}

}  // namespace switcher
