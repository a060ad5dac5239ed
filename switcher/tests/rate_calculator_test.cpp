#include "rate_calculator.h"

#include <gtest/gtest.h>

#include "main_window.h"
#include "resource.h"

namespace {

using switcher::RateCalculator;

// Indexes of the buttons the cases press: column, then multiplier.
constexpr int Button(int column, int multiplier) { return (column - 1) * switcher::kRatesPerColumn + multiplier - 1; }

struct Calculator : RateCalculator {
  explicit Calculator(std::array<std::int32_t, switcher::kRateColumns> rates) {
    std::array<std::string, switcher::kRateButtonCount> captions;
    for (int index = 0; index < switcher::kRateButtonCount; ++index) {
      captions[index] = "R" + std::to_string(MultiplierOf(index)) + "*";
    }
    SetButtonCaptions(captions);
    SetRates(rates);
  }
  std::array<std::string, 4> Sums() const { return {SumText(0), SumText(1), SumText(2), TotalText()}; }
};

TEST(RateCalculatorTest, RateButtonsAddTheirMultipleOfTheColumnRateAndCountPresses) {
  const struct {
    std::array<std::int32_t, 3> rates;
    std::vector<int> presses;
    std::array<std::string, 4> sums;  // columns 1..3, total
  } cases[] = {
      {{30, 30, 30}, {Button(1, 3), Button(1, 3)}, {"180", "0", "0", "180"}},
      {{30, 30, 30}, {Button(1, 3), Button(1, 3), Button(3, 10), Button(2, 1)}, {"180", "30", "300", "510"}},
      {{0, -7, 0}, {Button(1, 10), Button(2, 2), Button(3, 1)}, {"0", "-14", "0", "-14"}},
      // Sums stop at the 32-bit limits instead of wrapping.
      {{2000000000, 30, 30}, {Button(1, 10), Button(1, 10)}, {"2147483647", "0", "0", "2147483647"}},
  };
  for (const auto& c : cases) {
    Calculator calculator(c.rates);
    for (int index : c.presses) calculator.PressRate(index);
    EXPECT_EQ(calculator.Sums(), c.sums) << testing::PrintToString(c.presses);
  }
  Calculator calculator({30, 30, 30});
  calculator.PressRate(Button(1, 3));
  calculator.PressRate(Button(1, 3));
  EXPECT_EQ(calculator.RateButtonText(Button(1, 3)), "R3*2");
  EXPECT_EQ(calculator.RateButtonText(Button(3, 10)), "R10*0");
}

TEST(RateCalculatorTest, PlusAddsTheFreeAmountsLeadingIntegerToTheTotalOnly) {
  Calculator calculator({30, 30, 30});
  // "５０" as an input method types it counts as Quorrin's boxes count it.
  for (const char* amount : {"50", "50", "50", "-20", "abc", "５０"}) calculator.PressPlus(amount);
  EXPECT_EQ(calculator.PlusText(), "+ (6)");
  EXPECT_EQ(calculator.Sums(), (std::array<std::string, 4>{"0", "0", "0", "180"}));
  calculator.PressRate(Button(1, 1));
  for (int i = 0; i < 3; ++i) calculator.PressPlus("-2147483648");  // the free total stops at the minimum
  EXPECT_EQ(calculator.TotalText(), "-2147483618");
}

TEST(RateCalculatorTest, ResetClearsSumsAndCountsAndKeepsTheRates) {
  Calculator calculator({30, 30, 30});
  calculator.PressRate(Button(1, 2));
  calculator.PressPlus("9");
  calculator.Reset();
  EXPECT_EQ(calculator.Sums(), (std::array<std::string, 4>{"0", "0", "0", "0"}));
  EXPECT_EQ(calculator.RateButtonText(Button(1, 2)), "R2*0");
  EXPECT_EQ(calculator.PlusText(), "+ (0)");
  calculator.PressRate(Button(1, 2));
  EXPECT_EQ(calculator.TotalText(), "60");
}

// The panel on the main window: the captions, the free amount from the settings, the fields.
using RatePanelTest = MainWindowTest;

TEST_F(RatePanelTest, ShowsTheTallyAndClearRestoresTheFreeDefault) {
  Start("[計算]\r\nfreedefult=\r\n");
  for (int id : {IDC_SUM1, IDC_SUM2, IDC_SUM3, IDC_TOTAL}) EXPECT_EQ(view.texts[id], "0") << id;
  EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "");
  EXPECT_EQ(view.texts[IDC_RATE3_10], "R10*0");
  EXPECT_EQ(view.texts[IDC_PLUS], "+ (0)");

  Press(IDC_RATE1_2, 2);
  EXPECT_EQ(view.texts[IDC_RATE1_2], "R2*2");
  EXPECT_EQ(view.texts[IDC_SUM1], "120");
  view.texts[IDC_FREE_AMOUNT] = "9";
  Press(IDC_PLUS);
  EXPECT_EQ(view.texts[IDC_PLUS], "+ (1)");
  EXPECT_EQ(view.texts[IDC_TOTAL], "129");
  EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "9");

  files.Ini() = "[計算]\r\nfreedefult=\" 5\"\r\n";
  Press(IDC_CLEAR);
  EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "0");
  for (int id : {IDC_SUM1, IDC_TOTAL}) EXPECT_EQ(view.texts[id], "0") << id;
  EXPECT_EQ(view.texts[IDC_RATE1_2], "R2*0");
  EXPECT_EQ(view.texts[IDC_PLUS], "+ (0)");
}

}  // namespace
