#include "bp_growth.h"

#include <cmath>

#include "decimal_text.h"

namespace bpcalc {
namespace {

// Truncates toward zero; empty when the value has no int32 (or is not a number).
std::optional<std::int32_t> TruncateToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

BpGrowth ComputeBpGrowth(std::int32_t level, const StatValues& current, std::int32_t compareLevel,
                         const StatValues& level1, std::int32_t remaining) {
  const float lv = static_cast<float>(level);
  const float cmp = static_cast<float>(compareLevel);
  const double rateDivisor = static_cast<double>(lv) - 1.0;

  BpGrowth growth;
  for (std::size_t i = 0; i < kStatCount; ++i) {
    const float cur = static_cast<float>(current[i]);
    const float base = static_cast<float>(level1[i]);
    const double difference = static_cast<double>(cur) - static_cast<double>(base);
    if (difference == 0.0) {
      growth.rates[i] = 0.0f;
    } else if (rateDivisor != 0.0) {
      growth.rates[i] = static_cast<float>(difference / rateDivisor);
    }
    if (!growth.rates[i]) continue;
    const float product = static_cast<float>(static_cast<double>(*growth.rates[i]) * cmp);
    growth.predicted[i] = TruncateToInt(static_cast<double>(product) + static_cast<double>(base));
  }

  // Added M first, V last.
  double sumCurrent = 0.0;
  double sumRates = 0.0;
  for (std::size_t i = kStatCount; i-- > 0;) {
    if (!growth.rates[i]) return growth;  // an unknown rate leaves the overall rate unknown
    sumCurrent += static_cast<float>(current[i]);
    sumRates += *growth.rates[i];
  }
  const double n = sumCurrent - sumRates + static_cast<double>(static_cast<float>(remaining));
  if (n == 0.0) {
    growth.overall = 0.0f;
  } else if (lv != 0.0f) {
    growth.overall = static_cast<float>(n / static_cast<double>(lv));
  }
  return growth;
}

BpGrowthTexts FormatBpGrowth(const BpGrowth& growth) {
  BpGrowthTexts texts;
  for (std::size_t i = 0; i < kStatCount; ++i) {
    texts.predicted[i] =
        growth.predicted[i] ? std::to_string(*growth.predicted[i]) : std::string(kNotComputable);
    texts.rates[i] = growth.rates[i] ? FormatOneDecimal(*growth.rates[i]) : std::string(kNotComputable);
  }
  texts.overall = growth.overall ? FormatOneDecimal(*growth.overall) : std::string(kNotComputable);
  return texts;
}

}  // namespace bpcalc
