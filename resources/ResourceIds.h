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
#define IDD_PING 508
#define IDD_PROFILES_PAGE 509
#define IDD_PROFILE_EDITOR 510
#define IDD_USAGE_PAGE 511
#define IDD_USAGE_SETTINGS 512
#define IDD_USAGE_EXPORT 513
#define IDD_SETTINGS_PAGE 514
#define IDD_VIEW_OPTIONS 506

// ---- Controls ----
// View page (107).
#define IDC_VIEW_LIST 1007
#define IDC_VIEW_UP 1008
#define IDC_VIEW_DOWN 1009
#define IDC_VIEW_REVERT 1010
#define IDC_VIEW_COMPACT 1020
#define IDC_VIEW_FULL 1021
#define IDC_VIEW_MORE 1057

// View options (506).
#define IDC_VIEWOPT_SCROLL_RATE_LABEL 1048
#define IDC_VIEWOPT_METER_ICON 1049
#define IDC_VIEWOPT_DHCP_ICON 1050
#define IDC_VIEWOPT_OPTIONS_ICON 1051
#define IDC_VIEWOPT_BOLD 1052
#define IDC_VIEWOPT_FONT_LABEL 1053
#define IDC_VIEWOPT_PIN 1054
#define IDC_VIEWOPT_VIEW_SELECT 1055
#define IDC_VIEWOPT_SCROLL_RATE_SPIN 1058
#define IDC_VIEWOPT_SCROLL_RATE 1059
#define IDC_VIEWOPT_PLACEMENT 1060
#define IDC_VIEWOPT_PLACEMENT_SPIN 1061
#define IDC_VIEWOPT_METER_TOTAL 1064
#define IDC_VIEWOPT_METER_BOTH 1065
#define IDC_VIEWOPT_NO_ICON 1071
#define IDC_VIEWOPT_TOP_ICON 1072
#define IDC_VIEWOPT_NOTIFY_ICON 1073
#define IDC_VIEWOPT_FONT_SIZE 1074

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

// Usage report page (511): its buttons' bitmaps, 20 x 20 for screens up to 320 pixels wide and
// 32 x 32 wider (the mode button's one large bitmap serves every mode), and its controls.
#define IDB_USAGE_MODE_HOURLY 134
#define IDB_USAGE_MODE_DAILY 135
#define IDB_USAGE_MODE_MONTHLY 136
#define IDB_USAGE_EXPORT 137
#define IDB_USAGE_SETTINGS 138
#define IDB_USAGE_TABLE 139
#define IDB_USAGE_CHART 144
#define IDB_USAGE_MODE_LARGE 164
#define IDB_USAGE_CHART_LARGE 166
#define IDB_USAGE_SETTINGS_LARGE 167
#define IDB_USAGE_EXPORT_LARGE 168
#define IDB_USAGE_TABLE_LARGE 169
#define IDC_USAGE_DATE 1101
#define IDC_USAGE_SETTINGS 1102
#define IDC_USAGE_EXPORT 1103
#define IDC_USAGE_MODE 1105
#define IDC_USAGE_TABLE 1108
#define IDC_USAGE_CHART 1109
