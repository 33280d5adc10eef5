// Control ids of the SystemInfoPage template.
#pragma once

#define IDC_COMPUTER_NAME_LABEL 1047
#define IDC_USER_NAME_LABEL 1048
#define IDC_OS_NAME_LABEL 1049
#define IDC_SERVICE_PACK_LABEL 1050
#define IDC_UPTIME_LABEL 1051
#define IDC_HARDWARE_LIST 1068

// Icons beside the labels (153 and 160 also appear on other pages).
#define IDI_COMPUTER 153
#define IDI_OPERATING_SYSTEM 160
#define IDI_UPTIME 169
#define IDI_CURRENT_USER 242

// Pictures beside the hardware rows.
#define IDB_ROW_PROCESSOR 220
#define IDB_ROW_VIDEO 221
#define IDB_ROW_OPTICAL 222
#define IDB_ROW_DISK 223
#define IDB_ROW_MEMORY 224
#define IDB_ROW_SOUND 225
