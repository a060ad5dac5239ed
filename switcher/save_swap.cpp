#include "save_swap.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "messages.h"
#include "settings_file.h"

namespace switcher {
namespace {

namespace fs = std::filesystem;
using fsys::FileInfo;

// A stray file is kept as "<name>-kept-<n>.dat" with the first free n up to this.
constexpr int kMaxKeptNumber = 9999;

std::string KeptName(std::string_view file, int number) {
  const std::string_view stem = file.substr(0, file.rfind('.'));
  return std::string(stem) + "-kept-" + std::to_string(number) + ".dat";
}

// One switch. Every step that fails puts what failed and why in m_failure, what the player can do
// about it in m_advice, and returns false.
//
// Why a crash between any two steps loses nothing: no step overwrites a file or deletes one that
// holds data, so every content survives somewhere; and the recorded slot changes only while no
// live file exists (or, from no slot at all, in one write), so it always tells whose data the
// live file is, or, without one, whose slot file is to be brought in. The next switch reads the
// files that way: a slot file of the recorded slot beside a missing live file is that account's
// data, not a stray.
//
// A failure undoes the renames made so far, newest first, the record going back first while
// there is no live file; so "nothing moved" is what the player is told only when it is true.
class Switch {
 public:
  Switch(fsys::WholeFiles& settingsFiles, fsys::FileMoves& saves, int chosen)
      : m_settingsFiles(settingsFiles), m_saves(saves), m_data(settingsFiles.WorkingFolder() / kDataFolder),
        m_chosen(chosen) {}

  SwitchResult Run() {
    if (!ReadRecord()) return Failed();
    m_known = true;
    const FileInfo folder = m_saves.Inspect(m_data);
    if (folder.kind != FileInfo::Kind::Folder) {
      if (folder.kind == FileInfo::Kind::Unknown) {
        Fail(DataFolderNotInspected(), folder.cause, folder.error);
      } else {
        m_failure = NoDataFolder();
      }
      return Failed();
    }
    if (!ClearLiveName()) return RolledBack();
    if (m_done) return Completed();
    // No live file now: the record may name the chosen slot, whose data is in its slot file.
    if (!Record(m_chosen) || !BringIn(m_chosen)) return RolledBack();
    return Completed();
  }

 private:
  // The slot recorded now, and whether the chosen one can be recorded: checked before anything
  // moves, since a switch that cannot record its slot must not start.
  bool ReadRecord() {
    const auto settings = settings::SettingsFile::InWorkingFolder(m_settingsFiles);
    if (const std::string encoding = settings.EncodingMessage(); !encoding.empty()) {
      m_failure = encoding;
      return false;
    }
    if (!settings.Readable()) {
      m_failure = LiveSaveOwnerUnknown(settings);
      m_advice = SwitchAdvice(settings.ReadOutcome().cause);
      return false;
    }
    if (!settings.CanWrite(settings::kSelectedSlot, std::to_string(m_chosen))) {
      m_failure = SlotNotRecorded();
      return false;
    }
    m_previous = m_recorded = settings::SlotOf(settings.Read(settings::kSelectedSlot, settings::Reader::MainWindow));
    return true;
  }

  // Files the live file away, or finds it empty or missing; m_done when that already completes
  // the switch.
  bool ClearLiveName() {
    const auto live = Inspect(kLiveFile);
    if (!live) return false;
    if (live->IsEmptyFile()) return RemoveEmpty(kLiveFile);
    if (live->kind == FileInfo::Kind::Missing) return true;
    if (!live->HasData()) return NotAFile(kLiveFile);

    if (m_previous == 0) {
      // The live data belongs to no account yet: it becomes the chosen one's, unless that slot
      // has data of its own; then it is kept aside.
      const auto slot = Inspect(SlotFile(m_chosen));
      if (!slot) return false;
      if (slot->HasData()) {
        return KeepAside(kLiveFile, Stray::LiveOfNoAccount);
      }
      if (slot->IsEmptyFile()) {
        if (!RemoveEmpty(SlotFile(m_chosen))) return false;
      } else if (slot->kind != FileInfo::Kind::Missing) {
        return NotAFile(SlotFile(m_chosen));
      }
      return m_done = Record(m_chosen);
    }

    // The live data is the previous account's; a slot file of that account holding data too is a
    // copy made by hand or the rest of an interrupted switch, and is kept aside.
    const std::string own = SlotFile(m_previous);
    const auto slot = Inspect(own);
    if (!slot) return false;
    if (slot->HasData()) {
      if (!KeepAside(own, Stray::SecondCopy)) return false;
    } else if (slot->IsEmptyFile()) {
      if (!RemoveEmpty(own)) return false;
    } else if (slot->kind != FileInfo::Kind::Missing) {
      return NotAFile(own);
    }
    // The selected account again: its data is in place already.
    if (m_previous == m_chosen) return m_done = Record(m_chosen);
    return Rename(kLiveFile, own);
  }

  // Moves the slot's file into the live file's name; an empty one is deleted, so that the game
  // finds no live file rather than an empty one.
  bool BringIn(int slot) {
    const std::string name = SlotFile(slot);
    const auto info = Inspect(name);
    if (!info) return false;
    if (info->HasData()) return Rename(name, kLiveFile);
    if (info->IsEmptyFile()) return RemoveEmpty(name);
    return info->kind == FileInfo::Kind::Missing || NotAFile(name);
  }

  bool Record(int slot) {
    auto settings = settings::SettingsFile::InWorkingFolder(m_settingsFiles);
    if (const fsys::WriteResult written = settings.Write(settings::kSelectedSlot, std::to_string(slot)); !written) {
      return Fail(SlotNotRecorded(), written.cause, written.error);
    }
    m_recorded = slot;
    return true;
  }

  bool KeepAside(const std::string& name, Stray stray) {
    for (int number = 1; number <= kMaxKeptNumber; ++number) {
      const std::string kept = KeptName(name, number);
      const auto info = Inspect(kept);
      if (!info) return false;
      if (info->kind != FileInfo::Kind::Missing) continue;
      if (!Rename(name, kept)) return false;
      m_notes.push_back(KeptAside(stray, name, kept));
      return true;
    }
    m_failure = NoNameToKeep(name);
    return false;
  }

  // The file in the data folder; nullopt, the failure recorded, when it cannot be inspected.
  std::optional<FileInfo> Inspect(const std::string& name) {
    const FileInfo info = m_saves.Inspect(m_data / name);
    if (info.kind != FileInfo::Kind::Unknown) return info;
    Fail(SaveNotInspected(name), info.cause, info.error);
    return std::nullopt;
  }

  bool Rename(const std::string& from, const std::string& to) {
    const fsys::FileOutcome outcome = m_saves.RenameNew(m_data / from, m_data / to);
    if (!outcome) return Fail(SaveNotRenamed(from, to), outcome.cause, outcome.error);
    m_renames.emplace_back(from, to);
    return true;
  }

  bool RemoveEmpty(const std::string& name) {
    const fsys::FileOutcome outcome = m_saves.RemoveEmpty(m_data / name);
    return outcome || Fail(EmptySaveNotRemoved(name), outcome.cause, outcome.error);
  }

  bool Fail(const std::string& what, fsys::Cause cause, std::string_view platformText) {
    m_failure = StepFailure(what, cause, platformText);
    m_advice = SwitchAdvice(cause);
    return false;
  }

  bool NotAFile(const std::string& name) {
    m_failure = SaveNotAFile(name);
    return false;
  }

  // After a failure: the record goes back first, while there is no live file (the chosen slot's
  // data was not brought in), then every rename, newest first.
  SwitchResult RolledBack() {
    const std::string failure = m_failure;
    const std::string advice = m_advice;
    bool undone = m_recorded == m_previous || Record(m_previous);
    while (undone && !m_renames.empty()) {
      const auto [from, to] = m_renames.back();
      undone = Rename(to, from);
      if (undone) m_renames.resize(m_renames.size() - 2);  // the rename and its undoing
    }
    if (undone) {
      m_notes.clear();  // nothing was kept aside after all
      m_failure = failure;
      m_advice = advice;
      return Failed();
    }
    return {false, Recorded(), SwitchNotUndone(failure, m_failure, m_renames, advice)};
  }

  std::optional<std::int32_t> Recorded() const { return m_known ? std::optional(m_recorded) : std::nullopt; }

  SwitchResult Completed() const { return {true, Recorded(), SwitchNotes(m_notes)}; }

  SwitchResult Failed() const { return {false, Recorded(), SwitchFailed(m_failure, m_advice, SwitchNotes(m_notes))}; }

  fsys::WholeFiles& m_settingsFiles;
  fsys::FileMoves& m_saves;
  fs::path m_data;
  int m_chosen;
  int m_previous = 0;
  std::int32_t m_recorded = 0;
  bool m_known = false;  // whether the recorded slot could be read
  bool m_done = false;
  std::vector<std::pair<std::string, std::string>> m_renames;  // from, to; in the order made
  std::string m_failure;
  std::string m_advice;
  std::vector<std::string> m_notes;
};

}  // namespace

SwitchResult SwitchSaveFiles(fsys::WholeFiles& settingsFiles, fsys::FileMoves& saves, int chosen) {
  return Switch(settingsFiles, saves, chosen).Run();
}

SwitchResult FinishCutShortSwitch(fsys::WholeFiles& settingsFiles, fsys::FileMoves& saves) {
  const auto settings = settings::SettingsFile::InWorkingFolder(settingsFiles);
  const int recorded = settings::SlotOf(settings.Read(settings::kSelectedSlot, settings::Reader::MainWindow));
  if (!settings.Readable() || recorded == 0) return {true, recorded, {}};
  const fs::path data = settingsFiles.WorkingFolder() / kDataFolder;
  if (saves.Inspect(data / kLiveFile).kind != FileInfo::Kind::Missing || !saves.Inspect(data / SlotFile(recorded)).HasData()) {
    return {true, recorded, {}};
  }
  // Selecting the recorded slot again brings its file in and moves nothing else.
  SwitchResult result = Switch(settingsFiles, saves, recorded).Run();
  if (!result.completed) {
    result.message = CutShortNotFinished(recorded, result.message);
  }
  return result;
}

}  // namespace switcher
