// Every resource identifier of the plug-in module: icons, dialogs, their controls, strings.
#pragma once

// ---- Strings ----
#define IDS_ITEM_CLASS 1      // "Velmora": the item window class
#define IDS_TASKICON_CLASS 2  // "VelmoraTaskIcon": the top-bar icon window class

// ---- Icons: small screens (16 x 16) ----
#define IDI_SMALL_RECEIVING 101
#define IDI_SMALL_SENDING 102
#define IDI_SMALL_IDLE 103
#define IDI_SMALL_BOTH 104
#define IDI_SMALL_NOCONNECTION 106
#define IDI_SMALL_OPTIONS 115
#define IDI_SMALL_METER 116
#define IDI_SMALL_DHCP 123
#define IDI_SMALL_PIN_RELEASED 124
#define IDI_SMALL_PIN_PRESSED 125
#define IDI_SMALL_VIEW_COMPACT 126
#define IDI_SMALL_VIEW_FULL 127

// ---- Icons: large screens (32 x 32; the pin and view switch stay 16 x 16) ----
#define IDI_LARGE_NOCONNECTION 150
#define IDI_LARGE_IDLE 151
#define IDI_LARGE_BOTH 152
#define IDI_LARGE_RECEIVING 153
#define IDI_LARGE_SENDING 154
#define IDI_LARGE_PIN_RELEASED 155
#define IDI_LARGE_PIN_PRESSED 156
#define IDI_LARGE_VIEW_COMPACT 157
#define IDI_LARGE_VIEW_FULL 158
#define IDI_LARGE_OPTIONS 160
#define IDI_LARGE_DHCP 161
#define IDI_LARGE_METER 170

// ---- Dialogs ----
#define IDD_VIEW_PAGE 107
#define IDD_DHCP 120
#define IDD_OPTIONS 500
#define IDD_ADAPTER_PAGE 501
#define IDD_METER_PAGE 502
#define IDD_METER_READING 503
#define IDD_ABOUT_PAGE 504
#define IDD_RATE_MONITOR 507
#define IDD_PROFILES_PAGE 509
#define IDD_USAGE_PAGE 511
#define IDD_USAGE_SETTINGS 512
#define IDD_SETTINGS_PAGE 514

// ---- Controls ----
// Meter page (502).
#define IDC_METER_OFF 1021
#define IDC_METER_ON 1022
#define IDC_METER_FRAME 1023
#define IDC_METER_NOTIFY 1025
#define IDC_METER_THRESHOLD 1026
#define IDC_METER_UPLOAD 1027
#define IDC_METER_DOWNLOAD 1028
#define IDC_METER_TOTAL 1029
#define IDC_METER_RESET_AFTER 1030 // the check box and the second line of its label
#define IDC_METER_SPIN 1031
#define IDC_METER_EVERY 1032
#define IDC_METER_MB 1033

// Meter reading (503).
#define IDC_METER_RESET 1034
#define IDC_METER_SENT 1035
#define IDC_METER_RECEIVED 1036
#define IDC_METER_COMBINED 1037
#define IDC_METER_RESET_TIME 1038

// About page (504).
#define IDC_ABOUT_VERSION 1043
#define IDC_ABOUT_DATE 1044
#define IDC_ABOUT_OWNER 1045
#define IDC_ABOUT_TAPS 1100 // the count of taps into the hidden zone, shown while counting
#define IDC_ABOUT_FRAME 1126

// Settings page (514).
#define IDC_SAVE_SETTINGS 1123
#define IDC_RESTORE_SETTINGS 1124
#define IDC_SETTINGS_STATUS 1125
