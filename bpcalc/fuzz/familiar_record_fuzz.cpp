// libFuzzer target: the familiar data file loader on any bytes. What it loads must save again
// within the fields and load back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "familiar_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const bpcalc::FamiliarRecord loaded = bpcalc::ParseFamiliarRecord(bytes.substr(0, bpcalc::kWorkAreaSize));
  const auto saved = bpcalc::BuildFamiliarRecord(loaded);
  if (!saved || saved->size() != bpcalc::kRecordSize) std::abort();
  if (bpcalc::ParseFamiliarRecord(*saved) != loaded) std::abort();
  return 0;
}
