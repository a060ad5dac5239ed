// Resource IDs that both programs give the same meaning: the application icon and the about box
// that the system menu opens. Plain #defines, so that the .rc files take them too.
#pragma once

#define IDR_MAINFRAME 128
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
