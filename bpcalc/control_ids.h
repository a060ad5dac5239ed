#pragma once
// Control IDs of the calculator dialog (template 102); the template itself is in win/Quorrin.rc.
#include <array>

#include "bp_growth.h"

namespace bpcalc::ids {

inline constexpr int kCalculatorTemplate = 102;

// Command buttons.
inline constexpr int kSaveData = 1;  // also Enter (IDOK)
inline constexpr int kShowResult = 3;
inline constexpr int kLoadData = 4;
inline constexpr int kAppendCsv = 1014;
inline constexpr int kSetLv1 = 1026;

// Edit boxes the user types into.
inline constexpr int kName = 1013;
inline constexpr int kLevel = 1000;
inline constexpr std::array<int, kStatCount> kCurrentBp = {1001, 1002, 1003, 1004, 1005};
inline constexpr std::array<int, kStatCount> kLevel1Bp = {1015, 1016, 1017, 1018, 1019};
inline constexpr int kRemaining = 1027;
inline constexpr int kCompareLevel = 1006;

// Disabled edit boxes only the program writes.
inline constexpr std::array<int, kStatCount> kPredictedBp = {1007, 1008, 1009, 1010, 1011};
inline constexpr std::array<int, kStatCount> kGrowthRate = {1020, 1021, 1022, 1023, 1024};
inline constexpr int kOverallRate = 1025;

}  // namespace bpcalc::ids
