#pragma once
// BP growth of a familiar: growth per level of each stat, the BP predicted at another level and
// one overall growth rate. The arithmetic is fixed to the bit, so that the shown figures stay
// the ones players compare with each other: every input is first held as a 32-bit float, growth
// rates, the products of the prediction and the overall rate are 32-bit floats, and sums and
// differences between them are formed in double.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bpcalc {

// V, S, T, Q and M, always in this order.
inline constexpr std::size_t kStatCount = 5;
using StatValues = std::array<std::int32_t, kStatCount>;

// A figure that cannot be computed (a division by zero, or a prediction beyond the integer
// range) is empty here and shown as kNotComputable instead of "inf", "nan" or a wrapped number.
struct BpGrowth {
  std::array<std::optional<std::int32_t>, kStatCount> predicted;
  std::array<std::optional<float>, kStatCount> rates;
  std::optional<float> overall;
};

BpGrowth ComputeBpGrowth(std::int32_t level, const StatValues& current, std::int32_t compareLevel,
                         const StatValues& level1, std::int32_t remaining);

inline constexpr std::string_view kNotComputable = "---";

// The texts of the result boxes: predicted BP as "%d", rates with one decimal.
struct BpGrowthTexts {
  std::array<std::string, kStatCount> predicted;
  std::array<std::string, kStatCount> rates;
  std::string overall;
};

BpGrowthTexts FormatBpGrowth(const BpGrowth& growth);

}  // namespace bpcalc
