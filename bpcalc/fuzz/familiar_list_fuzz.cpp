// libFuzzer target: the xglist.txt reader (its encoding and search) on any bytes. The first byte chooses how many of the
// following bytes are the name to look up; the rest is the list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "familiar_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t nameSize = data[0] % 16 < rest.size() ? data[0] % 16 : rest.size();
  bpcalc::FindLevel1Bp(bpcalc::DecodeFamiliarList(rest.substr(nameSize)), rest.substr(0, nameSize));
  for (std::size_t start = 0; start < rest.size(); start += 8) bpcalc::DoubledListValue(rest.substr(start, 24));
  return 0;
}
