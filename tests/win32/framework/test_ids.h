// Resource and control ids of the framework's test program (shared by the
// resource script and the code).
#pragma once

#define IDI_TEST 1
#define IDD_CLIENT 100
#define IDD_MODAL 101
#define IDD_MISSING 999

#define IDC_RADIO1 101
#define IDC_RADIO2 102
#define IDC_RADIO3 103
#define IDC_BASE_ONLY 201
#define IDC_SHARED 202
#define IDC_MODAL 203
#define IDC_FAIL 204
#define IDC_MODAL_FAIL 210
#define IDC_MISSING 999
