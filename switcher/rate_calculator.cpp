#include "rate_calculator.h"

#include <limits>

#include "leading_int.h"

namespace switcher {
namespace {

// Sums and counts stay within 32 bits: a tally that ran past the range stops at its end instead
// of jumping to the other sign.
std::int32_t Saturated(std::int64_t value) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

}  // namespace

void RateCalculator::Reset() {
  m_columnTotals = {};
  m_grandTotal = 0;
  m_freeTotal = 0;
  m_pressCounts = {};
  m_plusCount = 0;
}

void RateCalculator::PressRate(int index) {
  m_pressCounts[index] = Saturated(static_cast<std::int64_t>(m_pressCounts[index]) + 1);
  std::int32_t& sum = m_columnTotals[ColumnOf(index)];
  sum = Saturated(std::int64_t{sum} + std::int64_t{m_rates[ColumnOf(index)]} * MultiplierOf(index));
  SumUp();
}

void RateCalculator::PressPlus(std::string_view freeAmount) {
  m_plusCount = Saturated(std::int64_t{m_plusCount} + 1);
  m_freeTotal = Saturated(std::int64_t{m_freeTotal} + text::TypedInt(freeAmount));
  SumUp();
}

void RateCalculator::SumUp() {
  m_grandTotal = Saturated(std::int64_t{m_freeTotal} + m_columnTotals[2] + m_columnTotals[1] + m_columnTotals[0]);
}

}  // namespace switcher
