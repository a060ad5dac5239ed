#pragma once
// What the player is told when the paste refuses to start or stops before its end.
#include <optional>
#include <string>
#include <vector>

#include "paste_player.h"
#include "paste_preparation.h"

namespace settings {
class SettingsFile;
}

namespace paste {

struct Message {
  std::string text;
  std::string caption;
};

// The message for a refusal of account `slot`'s paste; `fields` as Preparation gives them, `file`
// the settings as read for it.
Message RefusalMessage(Refusal refusal, int slot, const std::vector<int>& fields, const settings::SettingsFile& file);
// The message for a paste that ended early; nullopt when it was done.
std::optional<Message> OutcomeMessage(Outcome outcome);

// The account's name in messages: "アカウント１" .. "アカウント６".
std::string AccountLabel(int slot);

}  // namespace paste
