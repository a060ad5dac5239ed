#pragma once
// Varndell's families of controls as tables, each stated once, in the order the code numbers
// their members. From resource.h, which Varndell.rc shares; the end-to-end tests take the same
// tables. The sizes are given, not deduced: MinGW's GCC puts a deduced std::array constant in a
// writable section in some files and a read-only one in others, and the link then fails.
#include <array>

#include "rate_calculator.h"
#include "resource.h"
#include "settings_file.h"

namespace switcher {

// The buttons of account slots 1..6.
inline constexpr std::array<int, settings::kAccountCount> kAccountButtons{IDC_ACCOUNT1, IDC_ACCOUNT2, IDC_ACCOUNT3,
                                                    IDC_ACCOUNT4, IDC_ACCOUNT5, IDC_ACCOUNT6};
// The tray menu's entries of account slots 1..6.
inline constexpr std::array<int, settings::kAccountCount> kTrayAccounts{ID_TRAY_ACCOUNT1, ID_TRAY_ACCOUNT2, ID_TRAY_ACCOUNT3,
                                                  ID_TRAY_ACCOUNT4, ID_TRAY_ACCOUNT5, ID_TRAY_ACCOUNT6};

// The rate calculator's columns 1..3: the title above each and its sum.
inline constexpr std::array<int, kRateColumns> kColumnTitles{IDC_COLUMN_TITLE1, IDC_COLUMN_TITLE2, IDC_COLUMN_TITLE3};
inline constexpr std::array<int, kRateColumns> kColumnSums{IDC_SUM1, IDC_SUM2, IDC_SUM3};
// Rate button index 0..29, column by column: "R1*" .. "R10*" of column 1, then 2, then 3.
// clang-format off
inline constexpr std::array<int, kRateButtonCount> kRateButtons{
    IDC_RATE1_1, IDC_RATE1_2, IDC_RATE1_3, IDC_RATE1_4, IDC_RATE1_5, IDC_RATE1_6, IDC_RATE1_7, IDC_RATE1_8, IDC_RATE1_9, IDC_RATE1_10,
    IDC_RATE2_1, IDC_RATE2_2, IDC_RATE2_3, IDC_RATE2_4, IDC_RATE2_5, IDC_RATE2_6, IDC_RATE2_7, IDC_RATE2_8, IDC_RATE2_9, IDC_RATE2_10,
    IDC_RATE3_1, IDC_RATE3_2, IDC_RATE3_3, IDC_RATE3_4, IDC_RATE3_5, IDC_RATE3_6, IDC_RATE3_7, IDC_RATE3_8, IDC_RATE3_9, IDC_RATE3_10,
};
// clang-format on

}  // namespace switcher
