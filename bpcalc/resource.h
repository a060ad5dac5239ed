// Resource and control IDs of Quorrin, shared by win/Quorrin.rc and the code (control_ids.h
// gives the code its typed names for them).
#pragma once

#include "about_ids.h"  // IDR_MAINFRAME, IDD_ABOUTBOX, IDS_ABOUTBOX

#define IDD_CALCULATOR 102

// Command buttons. 1 is IDOK; Enter in a box presses the default button, IDC_SHOW_RESULT.
#define IDC_SAVE_DATA 1
#define IDC_SHOW_RESULT 3
#define IDC_LOAD_DATA 4
#define IDC_APPEND_CSV 1014
#define IDC_SET_LV1 1026

// Edit boxes the player types into.
#define IDC_NAME 1013
#define IDC_LEVEL 1000
#define IDC_CURRENT_V 1001
#define IDC_CURRENT_S 1002
#define IDC_CURRENT_T 1003
#define IDC_CURRENT_Q 1004
#define IDC_CURRENT_M 1005
#define IDC_LEVEL1_V 1015
#define IDC_LEVEL1_S 1016
#define IDC_LEVEL1_T 1017
#define IDC_LEVEL1_Q 1018
#define IDC_LEVEL1_M 1019
#define IDC_REMAINING 1027
#define IDC_COMPARE_LEVEL 1006

// Result boxes only the program writes.
#define IDC_PREDICTED_V 1007
#define IDC_PREDICTED_S 1008
#define IDC_PREDICTED_T 1009
#define IDC_PREDICTED_Q 1010
#define IDC_PREDICTED_M 1011
#define IDC_RATE_V 1020
#define IDC_RATE_S 1021
#define IDC_RATE_T 1022
#define IDC_RATE_Q 1023
#define IDC_RATE_M 1024
#define IDC_OVERALL_RATE 1025
