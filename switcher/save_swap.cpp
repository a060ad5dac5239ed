#include "save_swap.h"

#include <filesystem>
#include <string_view>
#include <vector>

#include "settings_file.h"

namespace switcher {
namespace {

namespace fs = std::filesystem;
using fsys::FileInfo;

constexpr char kDataFolder[] = "data";
constexpr char kLiveFile[] = "save.dat";
// A stray file is kept as "<name>-kept-<n>.dat" with the first free n up to this.
constexpr int kMaxKeptNumber = 9999;

std::string SlotFile(int slot) { return "save" + std::to_string(slot) + ".dat"; }

std::string KeptName(std::string_view file, int number) {
  const std::string_view stem = file.substr(0, file.rfind('.'));
  return std::string(stem) + "-kept-" + std::to_string(number) + ".dat";
}

// A file as the player sees it in messages: relative to the game folder.
std::string Shown(std::string_view file) { return "「" + std::string(kDataFolder) + "\\" + std::string(file) + "」"; }

// One switch. Every step that fails puts its reason in failure_ and returns false.
//
// Why a crash between any two steps loses nothing: no step overwrites a file or deletes one that
// holds data, so every content survives somewhere; and the recorded slot changes only while no
// live file exists (or, from no slot at all, in one write), so it always tells whose data the
// live file is, or, without one, whose slot file is to be brought in. The next switch reads the
// files that way: a slot file of the recorded slot beside a missing live file is that account's
// data, not a stray.
class Switch {
 public:
  Switch(fsys::FileSystem& files, int previous, int chosen)
      : files_(files), data_(files.WorkingFolder() / kDataFolder), previous_(previous), chosen_(chosen),
        recorded_(previous) {}

  SwitchResult Run() {
    const FileInfo folder = files_.Inspect(data_);
    if (folder.kind != FileInfo::Kind::Folder) {
      failure_ = folder.kind == FileInfo::Kind::Unknown
                     ? "「data」フォルダを調べられません。\n" + folder.error
                     : "ゲームのフォルダに「data」フォルダがありません。\n"
                       "Varndell は CrossGate.EXE と同じフォルダに置いて起動してください。";
      return Failed(false);
    }
    if (!ClearLiveName()) return Failed();
    if (done_) return Completed();
    // No live file now: the record may name the chosen slot, whose data is in its slot file.
    if (!Record(chosen_) || !BringIn(chosen_)) return RolledBack();
    return Completed();
  }

 private:
  // Files the live file away, or finds it empty or missing; done_ when that already completes
  // the switch.
  bool ClearLiveName() {
    FileInfo live;
    if (!Look(kLiveFile, live)) return false;
    if (live.IsEmptyFile()) return RemoveEmpty(kLiveFile);
    if (live.kind == FileInfo::Kind::Missing) return true;
    if (!live.HasData()) return NotAFile(kLiveFile);

    if (previous_ == 0) {
      // The live data belongs to no account yet: it becomes the chosen one's, unless that slot
      // has data of its own; then it is kept aside.
      FileInfo slot;
      if (!Look(SlotFile(chosen_), slot)) return false;
      if (slot.HasData()) {
        return KeepAside(kLiveFile, "アカウントを選ぶ前の" + Shown(kLiveFile) + "は、");
      }
      if (slot.IsEmptyFile()) {
        if (!RemoveEmpty(SlotFile(chosen_))) return false;
      } else if (slot.kind != FileInfo::Kind::Missing) {
        return NotAFile(SlotFile(chosen_));
      }
      return done_ = Record(chosen_);
    }

    // The live data is the previous account's; a slot file of that account holding data too is a
    // copy made by hand or the rest of an interrupted switch, and is kept aside.
    const std::string own = SlotFile(previous_);
    FileInfo slot;
    if (!Look(own, slot)) return false;
    if (slot.HasData()) {
      if (!KeepAside(own, Shown(own) + "にも別のデータがあったので、")) return false;
    } else if (slot.IsEmptyFile()) {
      if (!RemoveEmpty(own)) return false;
    } else if (slot.kind != FileInfo::Kind::Missing) {
      return NotAFile(own);
    }
    // The selected account again: its data is in place already.
    if (previous_ == chosen_) return done_ = Record(chosen_);
    return Rename(kLiveFile, own);
  }

  // Moves the slot's file into the live file's name; an empty one is deleted, so that the game
  // finds no live file rather than an empty one.
  bool BringIn(int slot) {
    const std::string name = SlotFile(slot);
    FileInfo info;
    if (!Look(name, info)) return false;
    if (info.HasData()) return Rename(name, kLiveFile);
    if (info.IsEmptyFile()) return RemoveEmpty(name);
    return info.kind == FileInfo::Kind::Missing || NotAFile(name);
  }

  bool Record(int slot) {
    auto settings = settings::SettingsFile::InWorkingFolder(files_);
    if (!settings.Write(settings::kSelectedSlot, std::to_string(slot))) {
      failure_ = "設定ファイル「" + std::string(settings::kFileName) + "」に選んだアカウントを書き込めません。";
      return false;
    }
    recorded_ = slot;
    return true;
  }

  bool KeepAside(const std::string& name, const std::string& why) {
    for (int number = 1; number <= kMaxKeptNumber; ++number) {
      const std::string kept = KeptName(name, number);
      FileInfo info;
      if (!Look(kept, info)) return false;
      if (info.kind != FileInfo::Kind::Missing) continue;
      if (!Rename(name, kept)) return false;
      notes_.push_back(why + Shown(kept) + "に名前を変えて残しました。");
      return true;
    }
    failure_ = Shown(name) + "を残しておく名前が見つかりません。";
    return false;
  }

  bool Look(const std::string& name, FileInfo& info) {
    info = files_.Inspect(data_ / name);
    if (info.kind != FileInfo::Kind::Unknown) return true;
    failure_ = Shown(name) + "を調べられません。\n" + info.error;
    return false;
  }

  bool Rename(const std::string& from, const std::string& to) {
    const fsys::FileOutcome outcome = files_.RenameNew(data_ / from, data_ / to);
    if (!outcome) failure_ = Shown(from) + "の名前を" + Shown(to) + "に変えられません。\n" + outcome.error;
    return outcome.ok;
  }

  bool RemoveEmpty(const std::string& name) {
    const fsys::FileOutcome outcome = files_.RemoveEmpty(data_ / name);
    if (!outcome) failure_ = "空の" + Shown(name) + "を削除できません。\n" + outcome.error;
    return outcome.ok;
  }

  bool NotAFile(const std::string& name) {
    failure_ = Shown(name) + "はファイルではありません。";
    return false;
  }

  // After a failure past the first move: the previous account goes back in place, so that the
  // game finds what it had. The record first, while there is no live file.
  SwitchResult RolledBack() {
    if (previous_ == chosen_) return Failed();
    const std::string failure = failure_;
    if ((recorded_ == previous_ || Record(previous_)) && (previous_ == 0 || BringIn(previous_))) {
      failure_ = failure;
    } else {
      failure_ = failure + "\n\n元に戻すこともできませんでした。\n" + failure_;
    }
    return Failed();
  }

  SwitchResult Completed() const { return {true, recorded_, Notes()}; }

  SwitchResult Failed(bool tryAgain = true) const {
    std::string message = failure_ + "\n\nアカウントは切り替わっていません。セーブデータは失われていません。";
    if (tryAgain) {
      message += "\nファイルを使っているプログラム（ゲームなど）があれば終了してから、もう一度ボタンを押してください。";
    }
    if (const std::string notes = Notes(); !notes.empty()) message += "\n\n" + notes;
    return {false, recorded_, message};
  }

  std::string Notes() const {
    std::string text;
    for (const std::string& note : notes_) text += (text.empty() ? "" : "\n") + note;
    return text;
  }

  fsys::FileSystem& files_;
  fs::path data_;
  int previous_;
  int chosen_;
  std::int32_t recorded_;
  bool done_ = false;
  std::string failure_;
  std::vector<std::string> notes_;
};

}  // namespace

SwitchResult SwitchSaveFiles(fsys::FileSystem& files, int previous, int chosen) {
  return Switch(files, previous, chosen).Run();
}

}  // namespace switcher
