#pragma once
// The exchange of the game's save file between accounts. The game reads its local state from
// data\save.dat (the live file); each account slot keeps its own in data\save1.dat to
// data\save6.dat. Choosing an account files the live file under the slot selected until now and
// moves the chosen slot's file into its place, by renaming only: contents are never read or
// copied, so a switch costs the same for any size of save.
//
// The one promise: no save data is ever lost. Nothing is overwritten, a file that holds data is
// never deleted, and a file found where it should not be is kept under a new name and the
// player told where. The recorded slot (setdata in VRND.INI) always says whose data is live,
// or, while there is no live file, whose slot file is to be brought in next; so a switch that
// was cut short by a crash is completed by the next one, or at the next start, without loss.
#include <cstdint>
#include <optional>
#include <string>

#include "file_system.h"

namespace switcher {

// The game's data folder, in the game folder, and the save files the switch moves in it.
inline constexpr char kDataFolder[] = "data";
inline constexpr char kLiveFile[] = "save.dat";
inline std::string SlotFile(int slot) { return "save" + std::to_string(slot) + ".dat"; }

struct SwitchResult {
  bool completed = false;     // the chosen slot is selected and its data live
  std::optional<std::int32_t> recorded;  // the slot the settings file names now; none when unreadable
  std::string message;        // for the player: what stopped the switch, where data was kept; may be empty
};

// Switches from the slot the settings file records now (0: none) to the chosen one (1..6) in the
// working folder's data folder, and records the chosen slot. The record is read at the switch,
// not kept from start-up: another copy of the program, or the player, may have changed it. A
// switch that fails undoes every rename it made, or says where each file is.
SwitchResult SwitchSaveFiles(fsys::WholeFiles& settingsFiles, fsys::FileMoves& saves, int chosen);

// At start-up: completes a switch that a crash cut short, where the recorded slot's data waits in
// its slot file and there is no live file, so that the game finds the account the window shows.
// The message says what was done or what is missing; empty when nothing was to do.
SwitchResult FinishCutShortSwitch(fsys::WholeFiles& settingsFiles, fsys::FileMoves& saves);

}  // namespace switcher
