#pragma once
// Keeping a password or CD-KEY unreadable to anyone but the current Windows user.
#include <optional>
#include <string>
#include <string_view>

namespace settings {

class SecretProtector {
 public:
  virtual ~SecretProtector() = default;

  // The plain bytes sealed for the current user, as printable ASCII text that fits on one line of
  // the settings file; nullopt when the system refused.
  virtual std::optional<std::string> Protect(std::string_view plain) = 0;
  // The plain bytes of a text Protect gave; nullopt when it cannot be opened here (sealed for
  // another user or another PC, or damaged).
  virtual std::optional<std::string> Unprotect(std::string_view text) = 0;
};

}  // namespace settings
