#include "launching.h"

#include <optional>

#include "messages.h"
#include "settings_file.h"

namespace switcher {
namespace {

constexpr char kFamiliarCalculator[] = "Quorrin.exe";

// The settings for a launch; nullopt, after telling the player, when the file could not be read:
// its defaults would start another program than the one chosen.
std::optional<settings::SettingsFile> ReadSettings(fsys::WholeFiles& files, ui::View& view) {
  auto file = settings::SettingsFile::InWorkingFolder(files);
  if (file.Readable()) return file;
  view.Tell(SettingsReadFailure(file, Unread::Launch), msg::kReadErrorCaption);
  return std::nullopt;
}

}  // namespace

CommandLine SplitCommandLine(std::string_view text) {
  if (!text.starts_with('"')) return {std::string(text), {}, false};
  text.remove_prefix(1);
  const std::size_t close = text.find('"');
  if (close == std::string_view::npos) return {std::string(text), {}, true};
  std::string_view rest = text.substr(close + 1);
  const std::size_t start = rest.find_first_not_of(' ');
  rest = start == std::string_view::npos ? std::string_view() : rest.substr(start);
  return {std::string(text.substr(0, close)), std::string(rest), true};
}

std::optional<std::uint32_t> Launcher::StartGame(ui::View& view) {
  const auto settings = ReadSettings(m_files, view);
  if (!settings) return std::nullopt;
  const auto exe = m_files.WorkingFolder() / settings::GameExeFileName(settings::GameExeIn(*settings));
  const std::string path = m_shell.TextFromPath(exe);
  if (!view.Ask(StartGameQuestion(path), msg::kConfirmCaption)) return std::nullopt;
  const Started started = m_shell.Open(exe, "");
  if (!started) {
    view.Tell(LaunchError(path, started.error), kOpenErrorCaption);
    return std::nullopt;
  }
  return started.process;
}

void Launcher::StartUserProgram(ui::View& view) {
  const auto settings = ReadSettings(m_files, view);
  if (!settings) return;
  const std::string path = settings->Read(settings::kUserExePath, settings::Reader::MainWindow);
  if (path.empty()) {
    view.Tell(kUserProgramNotSet, msg::kConfirmCaption);
    return;
  }
  const CommandLine command = SplitCommandLine(path);
  if (const Started started = m_shell.Open(m_shell.PathFromText(command.program), command.arguments); !started) {
    std::string text = LaunchError(settings->Read(settings::kUserExeName, settings::Reader::MainWindow), started.error);
    // A file name with a blank in it is most likely a path followed by arguments without quotes.
    const std::size_t nameStart = command.program.find_last_of('\\') + 1;  // 0 without a folder
    if (!command.quoted && command.program.find(' ', nameStart) != std::string::npos) {
      text += std::string("\n") + kProgramPathOnly;
    }
    view.Tell(text, kOpenErrorCaption);
  }
}

void Launcher::StartFamiliarCalculator(ui::View& view) {
  if (const Started started = m_shell.Open(m_shell.PathFromText(kFamiliarCalculator), ""); !started) {
    view.Tell(LaunchError(kFamiliarCalculator, started.error), kOpenErrorCaption);
  }
}

std::string Launcher::UserProgramName() const {
  return settings::SettingsFile::InWorkingFolder(m_files).Read(settings::kUserExeName, settings::Reader::MainWindow);
}

}  // namespace switcher
