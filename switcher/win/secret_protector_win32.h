#pragma once
#include "secret_protector.h"

namespace switcher {

// Windows data protection for the current user (CryptProtectData, never with a prompt), with an
// entropy of Varndell's own, as Base64 text on one line.
class Win32SecretProtector final : public settings::SecretProtector {
 public:
  std::optional<std::string> Protect(std::string_view plain) override;
  std::optional<std::string> Unprotect(std::string_view text) override;
};

}  // namespace switcher
