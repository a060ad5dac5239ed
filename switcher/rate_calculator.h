#pragma once
// The rate calculator on the main window: three rated columns of ten buttons each, a free amount,
// their sums and the grand total. It keeps the tally and gives the texts to show; the main window
// puts them into its controls.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace switcher {

inline constexpr int kRateColumns = 3;
inline constexpr int kRatesPerColumn = 10;
inline constexpr int kRateButtonCount = kRateColumns * kRatesPerColumn;

class RateCalculator {
 public:
  // Rate button index 0..29 runs column by column: multiplier 1..10 of column 0, then 1, then 2.
  static constexpr int ColumnOf(int index) { return index / kRatesPerColumn; }
  static constexpr int MultiplierOf(int index) { return index % kRatesPerColumn + 1; }

  // The rate buttons' captions as the window lays them out ("R1*" .. "R10*"); each button shows
  // its press count after its caption.
  void SetButtonCaptions(const std::array<std::string, kRateButtonCount>& captions) { m_rButtonBase = captions; }
  // The columns' rates (keisan1..3), used from the next press on.
  void SetRates(const std::array<std::int32_t, kRateColumns>& rates) { m_rates = rates; }

  // Sums, total and every count back to 0; the rates stay.
  void Reset();
  // A rate button: counts the press and adds its multiple of its column's rate to the column.
  void PressRate(int index);
  // "＋": counts the press and adds the free amount's leading integer to the total; full-width
  // digits count as Quorrin's boxes count them.
  void PressPlus(std::string_view freeAmount);

  std::string SumText(int column) const { return std::to_string(m_columnTotals[column]); }
  std::string TotalText() const { return std::to_string(m_grandTotal); }
  std::string RateButtonText(int index) const { return m_rButtonBase[index] + std::to_string(m_pressCounts[index]); }
  std::string PlusText() const { return "+ (" + std::to_string(m_plusCount) + ")"; }

 private:
  void SumUp();  // the grand total from the column sums and the free total

  std::array<std::int32_t, kRateColumns> m_columnTotals{};
  std::int32_t m_grandTotal = 0;
  std::array<std::int32_t, kRateColumns> m_rates{};
  std::int32_t m_freeTotal = 0;
  std::int32_t m_plusCount = 0;
  std::array<std::string, kRateButtonCount> m_rButtonBase;
  std::array<std::int32_t, kRateButtonCount> m_pressCounts{};
};

}  // namespace switcher
