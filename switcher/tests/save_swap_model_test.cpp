// Every way a switch can start, and every way it can be refused or cut short, against the one
// promise: no save data is ever lost, and the recorded slot always says whose data is where.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "file_system.h"
#include "messages.h"
#include "profile.h"
#include "save_swap.h"
#include "settings_file.h"

namespace {

namespace fs = std::filesystem;
constexpr int kAccountSlots = settings::kAccountCount;

// A game folder whose data folder exists, held in a few named strings (the model runs millions
// of switches), in which every call is one numbered operation: any one of them can be made to
// fail, or the process to stop just before it.
class GameFolder final : public fsys::WholeFiles, public fsys::FileMoves {
 public:
  // Thrown instead of operation stopAt: the process ended after the one before it, as in a
  // crash or a power loss.
  struct Stopped {};

  static constexpr char kFolder[] = "/game";
  static constexpr char kData[] = "/game/data";
  static constexpr char kIni[] = "/game/VRND.INI";

  std::vector<std::pair<std::string, std::string>> files;  // path, bytes
  mutable int operations = 0;
  std::vector<int> changes;  // the numbers of the operations that changed a file
  int failAt = -1;
  int stopAt = -1;

  const std::string* Find(const std::string& path) const {
    for (const auto& [name, bytes] : files) {
      if (name == path) return &bytes;
    }
    return nullptr;
  }
  std::string_view Content(const std::string& path) const {
    const std::string* bytes = Find(path);
    return bytes ? std::string_view(*bytes) : std::string_view();
  }

  fs::path WorkingFolder() const override { return kFolder; }
  fsys::ReadResult ReadFile(const fs::path& path, std::size_t) const override {
    if (Step()) return {fsys::ReadStatus::Unreadable, {}};
    const std::string* bytes = Find(path.native());
    return bytes ? fsys::ReadResult{fsys::ReadStatus::Ok, *bytes} : fsys::ReadResult{};
  }
  fsys::WriteResult Replace(const fs::path& path, std::string_view bytes) override {
    if (Change()) return {fsys::WriteStatus::WriteFailed};
    Erase(path.native());
    files.emplace_back(path.native(), bytes);
    return {};
  }
  void FinishReplaces(const fs::path&) override {}  // a Replace here is whole
  fsys::FileInfo Inspect(const fs::path& path) const override {
    using Kind = fsys::FileInfo::Kind;
    if (Step()) return {Kind::Unknown, 0, "injected"};
    if (const std::string* bytes = Find(path.native())) return {Kind::File, bytes->size(), {}};
    return {path.native() == kData ? Kind::Folder : Kind::Missing, 0, {}};
  }
  fsys::FileOutcome RenameNew(const fs::path& from, const fs::path& to) override {
    if (Change() || !Find(from.native()) || Find(to.native())) return {false, "refused"};
    for (auto& entry : files) {
      if (entry.first == from.native()) entry.first = to.native();
    }
    return {};
  }
  fsys::FileOutcome RemoveEmpty(const fs::path& path) override {
    const std::string* bytes = Find(path.native());
    if (Change() || !bytes || !bytes->empty()) return {false, "refused"};
    Erase(path.native());
    return {};
  }

 private:
  // Counts one operation; true when it is to fail. Stops the process instead at stopAt.
  bool Step() const {
    const int number = operations++;
    if (number == stopAt) throw Stopped{};
    return number == failAt;
  }
  bool Change() {
    changes.push_back(operations);
    return Step();
  }
  void Erase(const std::string& path) {
    std::erase_if(files, [&](const auto& entry) { return entry.first == path; });
  }
};

// The live file (0) and the slot files 1..6.
const std::array<std::string, kAccountSlots + 1> kSaveFiles{
    "/game/data/save.dat",  "/game/data/save1.dat", "/game/data/save2.dat", "/game/data/save3.dat",
    "/game/data/save4.dat", "/game/data/save5.dat", "/game/data/save6.dat"};

int RecordedSlot(const GameFolder& files) {
  return settings::SlotOf(settings::ProfileRead(files.Content(GameFolder::kIni), "全般", "setdata", "0"));
}

// Whose data is where, read as the switch reads the files: slot r's data is the live file when
// it holds any, else r's slot file; every other slot's is its slot file. Index 0: live data that
// no account owns (nothing recorded). "" is no data.
std::array<std::string_view, kAccountSlots + 1> Owners(const GameFolder& files) {
  std::array<std::string_view, kAccountSlots + 1> owners;
  const int recorded = RecordedSlot(files);
  for (int slot = 1; slot <= kAccountSlots; ++slot) owners[slot] = files.Content(kSaveFiles[slot]);
  const std::string_view live = files.Content(kSaveFiles[0]);
  if (recorded == 0) {
    owners[0] = live;
  } else if (!live.empty()) {
    owners[recorded] = live;
  }
  return owners;
}

// What is wrong with the files after a switch from `before`; empty when nothing is.
std::string Problems(const GameFolder& before, const GameFolder& after, int chosen, bool completed) {
  std::string problems;
  const auto was = Owners(before);
  const auto is = Owners(after);
  for (int slot = 1; slot <= kAccountSlots; ++slot) {
    // With nothing recorded, the live data becomes the chosen slot's when that slot has none.
    const bool adopted = slot == chosen && RecordedSlot(before) == 0 && was[slot].empty() && is[slot] == was[0];
    if (is[slot] != was[slot] && !adopted) problems += " slot " + std::to_string(slot) + " holds '" + std::string(is[slot]) + "'";
  }
  if (completed) {
    if (RecordedSlot(after) != chosen) problems += " the chosen slot is not recorded";
    if (after.Find(kSaveFiles[chosen])) problems += " the chosen slot keeps a slot file";
    if (after.Content(kSaveFiles[0]) != is[chosen] || (is[chosen].empty() && after.Find(kSaveFiles[0]))) {
      problems += " the live file is not the chosen slot's data";
    }
  }
  return problems;
}

// The save files that hold data, by name.
std::vector<std::pair<std::string, std::string>> Saves(const GameFolder& files) {
  std::vector<std::pair<std::string, std::string>> saves;
  for (const auto& entry : files.files) {
    if (entry.first != GameFolder::kIni && !entry.second.empty()) saves.push_back(entry);
  }
  std::ranges::sort(saves);
  return saves;
}

bool LostData(const GameFolder& before, const GameFolder& after) {
  for (const auto& [path, bytes] : before.files) {
    if (path == GameFolder::kIni || bytes.empty()) continue;
    bool kept = false;
    for (const auto& [_, now] : after.files) kept = kept || now == bytes;
    if (!kept) return true;
  }
  return false;
}

enum class FileState { Absent, Empty, Data };
enum class Trouble { None, OneOperationFails, StopsBeforeAnOperation };

struct Mode {
  Trouble trouble;
  const char* name;
};
constexpr std::array kModes{
    Mode{Trouble::None, "clean"},
    Mode{Trouble::OneOperationFails, "fails at operation"},
    Mode{Trouble::StopsBeforeAnOperation, "stops before operation"},
};
constexpr std::array kFileStates{FileState::Absent, FileState::Empty, FileState::Data};
constexpr int kFiles = kAccountSlots + 1;  // the live file and the six slot files
constexpr int kFileCombinations = 3 * 3 * 3 * 3 * 3 * 3 * 3;

// A game folder with the previous slot recorded and each save file absent, empty or holding its
// own data ("L" for the live file, the slot's number for a slot file).
GameFolder Start(int previous, int combination) {
  GameFolder files;
  if (previous != 0) files.files.emplace_back(GameFolder::kIni, "[全般]\r\nsetdata=" + std::to_string(previous) + "\r\n");
  for (int file = 0; file < kFiles; ++file, combination /= 3) {
    const FileState state = kFileStates[combination % 3];
    if (state != FileState::Absent) {
      files.files.emplace_back(kSaveFiles[file], state == FileState::Empty ? "" : file == 0 ? "L" : std::to_string(file));
    }
  }
  return files;
}

TEST(SaveSwapModelTest, NoSwitchLosesDataWhateverFailsOrStopsItAndTheNextSwitchCompletes) {
  long cases = 0, losses = 0, faults = 0;
  for (int previous = 0; previous <= kAccountSlots; ++previous) {
    for (int chosen = 1; chosen <= kAccountSlots; ++chosen) {
      for (int combination = 0; combination < kFileCombinations; ++combination) {
        const GameFolder before = Start(previous, combination);
        GameFolder clean = before;
        ASSERT_TRUE(switcher::SwitchSaveFiles(clean, clean, chosen).completed);
        for (const Mode& mode : kModes) {
          // Every operation fails in turn. Stopping before a look or a read leaves the same
          // files as stopping before the change that follows it, so the process stops before
          // each change.
          std::vector<int> points{-1};
          if (mode.trouble == Trouble::OneOperationFails) {
            points.resize(clean.operations);
            std::iota(points.begin(), points.end(), 0);
          } else if (mode.trouble == Trouble::StopsBeforeAnOperation) {
            points = clean.changes;
          }
          for (const int point : points) {
            ++cases;
            GameFolder files = before;
            (mode.trouble == Trouble::OneOperationFails ? files.failAt : files.stopAt) = point;
            std::string problems;
            bool completed = false;
            try {
              const switcher::SwitchResult result = switcher::SwitchSaveFiles(files, files, chosen);
              completed = result.completed;
              if (result.recorded && *result.recorded != RecordedSlot(files)) problems += " memory and file disagree on the slot";
              if (!completed && result.message.empty()) problems += " a failure was not reported";
              // "Nothing moved" must be true: every save with data under the name it had.
              if (!completed && result.message.find(switcher::kNotSwitched) != std::string::npos &&
                  Saves(files) != Saves(before)) {
                problems += " a failure said nothing moved, but saves moved";
              }
            } catch (const GameFolder::Stopped&) {
            }
            problems += Problems(before, files, chosen, completed);
            bool lost = LostData(before, files);
            if (!completed) {
              // Restart: the slot comes from the settings file; the same button is pressed again.
              files.failAt = files.stopAt = -1;
              // At start-up a switch cut short is finished: the game then finds the recorded
              // account's save, as its pushed button says.
              if (!switcher::FinishCutShortSwitch(files, files).completed) problems += " start-up could not finish";
              const int shown = RecordedSlot(files);
              if (shown != 0 && !files.Find(kSaveFiles[0]) && !files.Content(kSaveFiles[shown]).empty()) {
                problems += " after a restart the recorded account's save is not live";
              }
              const bool next = switcher::SwitchSaveFiles(files, files, chosen).completed;
              if (!next) problems += " the next switch did not complete";
              problems += Problems(before, files, chosen, next);
              lost = lost || LostData(before, files);
            }
            losses += lost;
            if (!problems.empty() && ++faults <= 10) {
              ADD_FAILURE() << "slot " << previous << " -> " << chosen << ", files " << combination << ", "
                            << mode.name << " " << point << ":" << problems;
            }
          }
        }
      }
    }
  }
  std::printf("save swap model: %ld cases, %ld losses\n", cases, losses);
  EXPECT_EQ(losses, 0);
  EXPECT_EQ(faults, 0);
}

}  // namespace
