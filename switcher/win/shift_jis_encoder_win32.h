#pragma once
#include "settings_file_encoding.h"

namespace switcher {

// Windows' own code page 932, exact codes only (no "?" and no best-fit look-alikes).
class Win32ShiftJisEncoder final : public settings::ShiftJisEncoder {
 public:
  std::optional<std::string> Encode(char32_t character) const override;
};

}  // namespace switcher
