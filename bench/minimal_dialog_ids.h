#pragma once
// Resource IDs of the minimal dialog, shared by its program and the driver's own tests.
#define IDD_MINIMAL 100
#define IDC_LABEL 1001
#define IDC_EDIT 1002
#define IDC_ASK 1003
