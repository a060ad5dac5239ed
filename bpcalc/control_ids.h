#pragma once
// Control IDs of the calculator dialog by name, from resource.h, which win/Quorrin.rc shares.
#include <array>

#include "bp_growth.h"
#include "resource.h"

namespace bpcalc::ids {

inline constexpr int kCalculatorTemplate = IDD_CALCULATOR;

// Command buttons.
inline constexpr int kSaveData = IDC_SAVE_DATA;  // IDOK, though Enter shows the result
inline constexpr int kShowResult = IDC_SHOW_RESULT;  // also Enter in a box
inline constexpr int kLoadData = IDC_LOAD_DATA;
inline constexpr int kAppendCsv = IDC_APPEND_CSV;
inline constexpr int kSetLv1 = IDC_SET_LV1;

// Edit boxes the user types into.
inline constexpr int kName = IDC_NAME;
inline constexpr int kLevel = IDC_LEVEL;
inline constexpr std::array<int, kStatCount> kCurrentBp = {IDC_CURRENT_V, IDC_CURRENT_S, IDC_CURRENT_T,
                                                           IDC_CURRENT_Q, IDC_CURRENT_M};
inline constexpr std::array<int, kStatCount> kLevel1Bp = {IDC_LEVEL1_V, IDC_LEVEL1_S, IDC_LEVEL1_T, IDC_LEVEL1_Q,
                                                          IDC_LEVEL1_M};
inline constexpr int kRemaining = IDC_REMAINING;
inline constexpr int kCompareLevel = IDC_COMPARE_LEVEL;

// Read-only result boxes only the program writes.
inline constexpr std::array<int, kStatCount> kPredictedBp = {IDC_PREDICTED_V, IDC_PREDICTED_S, IDC_PREDICTED_T,
                                                             IDC_PREDICTED_Q, IDC_PREDICTED_M};
inline constexpr std::array<int, kStatCount> kGrowthRate = {IDC_RATE_V, IDC_RATE_S, IDC_RATE_T, IDC_RATE_Q,
                                                            IDC_RATE_M};
inline constexpr int kOverallRate = IDC_OVERALL_RATE;

}  // namespace bpcalc::ids
