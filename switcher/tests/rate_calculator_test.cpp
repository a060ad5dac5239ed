#include "main_window.h"
#include "resource.h"

namespace {

using RateCalculatorTest = MainWindowTest;

TEST_F(RateCalculatorTest, StartsClearedWithTheFreeDefault) {
  Start();
  for (int id : {IDC_SUM1, IDC_SUM2, IDC_SUM3, IDC_TOTAL}) EXPECT_EQ(view.texts[id], "0") << id;
  EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "50");
  EXPECT_EQ(view.texts[1012], "R1*0");
  EXPECT_EQ(view.texts[1024], "R10*0");
  EXPECT_EQ(view.texts[1042], "R10*0");
  EXPECT_EQ(view.texts[IDC_PLUS], "+ (0)");
}

TEST_F(RateCalculatorTest, RateButtonsAddTheirMultipleOfTheColumnRateAndCountPresses) {
  Start();
  Press(1017, 2);  // "R3*" of column 1
  EXPECT_EQ(view.texts[1017], "R3*2");
  EXPECT_EQ(view.texts[IDC_SUM1], "180");
  EXPECT_EQ(view.texts[IDC_TOTAL], "180");
  Press(1042);  // "R10*" of column 3
  EXPECT_EQ(view.texts[IDC_SUM3], "300");
  EXPECT_EQ(view.texts[IDC_TOTAL], "480");
  EXPECT_EQ(view.texts[1042], "R10*1");
  Press(1013);  // "R1*" of column 2
  EXPECT_EQ(view.texts[IDC_SUM2], "30");
  EXPECT_EQ(view.texts[IDC_TOTAL], "510");
}

TEST_F(RateCalculatorTest, PlusAddsTheFreeAmountToTheTotalOnly) {
  Start();
  Press(IDC_PLUS, 3);
  EXPECT_EQ(view.texts[IDC_PLUS], "+ (3)");
  EXPECT_EQ(view.texts[IDC_TOTAL], "150");
  EXPECT_EQ(view.texts[IDC_SUM1], "0");
  EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "50");

  view.texts[IDC_FREE_AMOUNT] = "-20";
  Press(IDC_PLUS);
  EXPECT_EQ(view.texts[IDC_TOTAL], "130");

  view.texts[IDC_FREE_AMOUNT] = "abc";
  Press(IDC_PLUS);
  EXPECT_EQ(view.texts[IDC_TOTAL], "130");
  EXPECT_EQ(view.texts[IDC_PLUS], "+ (5)");
}

TEST_F(RateCalculatorTest, ClearResetsEverythingAndRestoresTheFreeDefault) {
  Start("[計算]\r\nfreedefult=\r\n");
  EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "");
  Press(1016);
  view.texts[IDC_FREE_AMOUNT] = "9";
  Press(IDC_PLUS);
  files.Ini() = "[計算]\r\nfreedefult=\" 5\"\r\n";
  Press(IDC_CLEAR);
  EXPECT_EQ(view.texts[IDC_FREE_AMOUNT], "0");
  EXPECT_EQ(view.texts[IDC_TOTAL], "0");
  EXPECT_EQ(view.texts[IDC_SUM1], "0");
  EXPECT_EQ(view.texts[1016], "R2*0");
  EXPECT_EQ(view.texts[IDC_PLUS], "+ (0)");
  Press(1016);
  EXPECT_EQ(view.texts[1016], "R2*1");
  EXPECT_EQ(view.texts[IDC_TOTAL], "60");
}

TEST_F(RateCalculatorTest, ZeroNegativeAndNonNumericRatesAreUsedAsTheyAre) {
  Start("[計算]\r\nkeisan1=0\r\nkeisan2=-7\r\nkeisan3=abc\r\n");
  Press(1024);
  Press(1025);  // R2* of column 2
  Press(1034);
  EXPECT_EQ(view.texts[IDC_SUM1], "0");
  EXPECT_EQ(view.texts[IDC_SUM2], "-14");
  EXPECT_EQ(view.texts[IDC_SUM3], "0");
  EXPECT_EQ(view.texts[IDC_TOTAL], "-14");
  EXPECT_EQ(view.texts[1024], "R10*1");
}

TEST_F(RateCalculatorTest, SumsStopAtThe32BitLimitsInsteadOfWrapping) {
  Start("[計算]\r\nkeisan1=2000000000\r\n");
  Press(1024, 2);
  EXPECT_EQ(view.texts[IDC_SUM1], "2147483647");
  EXPECT_EQ(view.texts[IDC_TOTAL], "2147483647");
  view.texts[IDC_FREE_AMOUNT] = "-2147483648";
  Press(IDC_PLUS, 3);  // the free total stops at the minimum: column 1 plus that is -1
  EXPECT_EQ(view.texts[IDC_TOTAL], "-1");
}

}  // namespace
