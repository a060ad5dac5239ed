// The rate calculator on the main window: three rated columns of ten buttons each, a free
// amount, their sums and the grand total.
#include <limits>
#include <string>

#include "leading_int.h"
#include "main_dialog.h"
#include "resource.h"
#include "settings_file.h"

namespace switcher {
namespace {

constexpr std::array<int, kRateColumns> kFirstRateButtons{IDC_RATE1_1, IDC_RATE2_1, IDC_RATE3_1};
constexpr std::array<int, kRateColumns> kSecondRateButtons{IDC_RATE1_2, IDC_RATE2_2, IDC_RATE3_2};
constexpr std::array<int, kRateColumns> kSumFields{IDC_SUM1, IDC_SUM2, IDC_SUM3};

// Sums stay within 32 bits: a tally that ran past the range stops at its end instead of
// jumping to the other sign.
std::int32_t Saturated(std::int64_t value) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < kMin ? kMin : value > kMax ? kMax : value);
}

}  // namespace

int RateButtonId(int index) {
  const int column = index / kRatesPerColumn;
  const int multiplier = index % kRatesPerColumn + 1;
  return multiplier == 1 ? kFirstRateButtons[column] : kSecondRateButtons[column] + multiplier - 2;
}

std::optional<int> RateButtonIndex(int id) {
  for (int index = 0; index < kRateButtonCount; ++index) {
    if (RateButtonId(index) == id) return index;
  }
  return std::nullopt;
}

void CSwitcherDlg::ResetCalculator() { ResetCalculatorFrom(settings::SettingsFile::InWorkingFolder(files_)); }

void CSwitcherDlg::ResetCalculatorFrom(const settings::SettingsFile& settings) {
  m_columnTotals = {};
  m_grandTotal = 0;
  m_freeTotal = 0;
  for (int id : {IDC_SUM1, IDC_SUM2, IDC_SUM3, IDC_TOTAL}) view().SetItemText(id, "0");
  m_pressCounts = {};
  view().SetItemText(IDC_FREE_AMOUNT, settings.Read(settings::kFreeDefault, settings::Reader::MainWindow));
  for (int index = 0; index < kRateButtonCount; ++index) {
    view().SetItemText(RateButtonId(index), m_rButtonBase[index] + "0");
  }
  view().SetItemText(IDC_PLUS, "+ (0)");
  m_plusCount = 0;
}

void CSwitcherDlg::AddToColumn(int column, std::int32_t amount) {
  if (column >= 1 && column <= kRateColumns) {
    std::int32_t& sum = m_columnTotals[column - 1];
    sum = Saturated(std::int64_t{sum} + std::int64_t{m_rates[column - 1]} * amount);
  } else if (column == kFreeColumn) {
    m_freeTotal = Saturated(std::int64_t{m_freeTotal} + amount);
  }
  m_grandTotal = Saturated(std::int64_t{m_freeTotal} + m_columnTotals[2] + m_columnTotals[1] +
                           m_columnTotals[0]);
  view().SetItemText(IDC_TOTAL, std::to_string(m_grandTotal));
  if (column >= 1 && column <= kRateColumns) {
    view().SetItemText(kSumFields[column - 1], std::to_string(m_columnTotals[column - 1]));
  }
}

void CSwitcherDlg::OnRateButton(int index) {
  m_pressCounts[index] = Saturated(static_cast<std::int64_t>(m_pressCounts[index]) + 1);
  view().SetItemText(RateButtonId(index), m_rButtonBase[index] + std::to_string(m_pressCounts[index]));
  AddToColumn(index / kRatesPerColumn + 1, index % kRatesPerColumn + 1);
}

void CSwitcherDlg::OnPlus() {
  m_plusCount = Saturated(std::int64_t{m_plusCount} + 1);
  view().SetItemText(IDC_PLUS, "+ (" + std::to_string(m_plusCount) + ")");
  AddToColumn(kFreeColumn, text::LeadingInt(view().ItemText(IDC_FREE_AMOUNT)));
}

}  // namespace switcher
