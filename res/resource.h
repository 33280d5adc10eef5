// Resource ids of dialog templates, controls, bitmaps and icons.
#pragma once

#define IDC_STATIC (-1)

// Icons
#define IDI_APPLICATION_ICON 128

// Dialog templates
#define IDD_MAIN_WINDOW 102
#define IDD_SYSTEM_INFO_PAGE 131
#define IDD_SPEED_PAGE 132
#define IDD_APPEARANCE_PAGE 133
#define IDD_MANAGEMENT_PAGE 134
#define IDD_DRIVER_PAGE 135
#define IDD_SOFTWARE_PAGE 136
#define IDD_HELP_PAGE 137
#define IDD_STARTUP_PAGE 171
#define IDD_SERVICE_PAGE 172
#define IDD_ADDON_PAGE 173
#define IDD_SECURITY_PAGE 174
#define IDD_PROCESS_PAGE 1046

// Main window controls
#define IDC_SECTION_SYSTEM_INFO 1000
#define IDC_SECTION_MANAGEMENT 1001
#define IDC_SECTION_APPEARANCE 1002
#define IDC_SECTION_DRIVERS 1003
#define IDC_SECTION_HELP 1004
#define IDC_SECTION_SPEED 1005
#define IDC_SECTION_SOFTWARE 1006
#define IDC_CONTENT_FRAME 1007
#define IDC_CLOSE_BUTTON 1012
#define IDC_MINIMIZE_BUTTON 1013
#define IDC_WEB_SITE_BUTTON 1014
#define IDC_LOGO 1057

// Management container controls
#define IDC_TAB_STARTUP 1012
#define IDC_TAB_SERVICES 1013
#define IDC_TAB_PROCESSES 1014
#define IDC_TAB_ADDONS 1015
#define IDC_TAB_SECURITY 1016
#define IDC_TAB_CONTENT_FRAME 1045

// Bitmaps
#define IDB_BACKGROUND 186
#define IDB_LOGO 218
#define IDB_LOGO_BLINK 219
#define IDB_TAB_LINE 226

// Artwork drawn for 125% (120 dpi) and 150% (144 dpi) text size: every
// bitmap and icon id above, and those of the pages, plus one of these
// offsets (res/art/ScaledArt.rc, made by tools/gen_artwork.py). No other
// resource of either type lies in 20000..39999.
#define IDR_ART_125_OFFSET 20000
#define IDR_ART_150_OFFSET 30000

// Control ids of the pages, one header each.
#include "ids/SystemInfoPage.h"
#include "ids/SpeedPage.h"
#include "ids/AppearancePage.h"
#include "ids/DriverPage.h"
#include "ids/SoftwarePage.h"
#include "ids/HelpPage.h"
#include "ids/StartupPage.h"
#include "ids/ProcessPage.h"
#include "ids/ServicePage.h"
#include "ids/AddonPage.h"
#include "ids/ListFilter.h"
#include "ids/SecurityPage.h"
