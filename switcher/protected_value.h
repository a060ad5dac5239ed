#pragma once
// A password or CD-KEY as VRND.INI holds it. The option's key decides whether new values are kept
// protected; a protected value is the marker followed by the protector's text, so that a plain
// value left from before the option was turned on is still told apart and read. The marker alone
// tells a protected value, whatever the option says: an option mistyped by hand, or a value cut or
// damaged, must never let protected text pass for a password.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "secret_protector.h"

namespace settings {

inline constexpr std::string_view kProtectedMarker = "dpapi:";

enum class SecretForm {
  Plain,       // as typed (or missing)
  Protected,   // protected, and unprotected here
  Unreadable,  // protected, and it cannot be unprotected here
};

struct RevealedSecret {
  SecretForm form = SecretForm::Plain;
  std::string text;  // as the player typed it; empty when Unreadable
};

// Whether a stored value is in the protected form (readable here or not).
constexpr bool IsProtectedForm(std::string_view stored) { return stored.starts_with(kProtectedMarker); }

// The value as the player typed it, from the stored value read whole: a plain value keeps every
// reader's limit of maxBytes, a protected one is far longer and is used whole.
RevealedSecret Reveal(std::string_view stored, std::size_t maxBytes, SecretProtector& protector);

// What to store for a value while protection is on. An empty value stays empty: it has nothing
// to hide. nullopt when the protector failed.
std::optional<std::string> Conceal(std::string_view plain, SecretProtector& protector);

// What the settings dialog's OK does with one password or CD-KEY: the form it was read in,
// whether the player typed a new value, and whether protection is wanted now.
enum class SecretWrite {
  Keep,            // the stored bytes stay
  StorePlain,      // the text as it is
  StoreProtected,  // the text through Conceal
};
// A value that cannot be unprotected here is kept as it is, option on or off: its marker keeps it
// from ever being read as plain text.
SecretWrite SecretWriteFor(SecretForm stored, bool typed, bool protect);

// Overwrites the bytes before the string is emptied, so that no copy of a password stays in
// memory that the program gives back.
void Wipe(std::string& text);

// A string of plain text that is wiped when it goes.
struct WipedOnExit {
  std::string& text;
  ~WipedOnExit() { Wipe(text); }
};

}  // namespace settings
