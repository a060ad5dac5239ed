#pragma once
// What Varndell tells the player when a file could not be read, written, renamed or deleted:
// the file, the cause the system gave, and what the player can do about that cause.
#include <string>
#include <string_view>

#include "file_system.h"

namespace settings {
class SettingsFile;
}

namespace switcher {

// The cause in one sentence; platformText stands for a cause we have no words of our own for.
std::string CauseText(fsys::Cause cause, std::string_view platformText);

// What the player can do about the cause, ending in then (for example "もう一度ボタンを押してください。").
std::string AdviceText(fsys::Cause cause, std::string_view then);

// The settings file could not be read: the file, what was not done (stopped) and the cause.
std::string SettingsReadProblem(const settings::SettingsFile& file, std::string_view stopped);
// The same, with the advice ending in then.
std::string SettingsReadFailure(const settings::SettingsFile& file, std::string_view stopped, std::string_view then);

// The settings could not be written: the file, the cause and the advice ending in then.
std::string SettingsWriteFailure(const fsys::WriteResult& result, std::string_view then);

}  // namespace switcher
