// Control ids of the StartupPage template.
#pragma once

#define IDC_STARTUP_REMOVE 1012
#define IDC_STARTUP_LIST 1059
#define IDC_STARTUP_REFRESH 1065
#define IDC_STARTUP_DISABLE 1066
#define IDC_STARTUP_ENABLE 1067

// Icons of the page's buttons.
#define IDI_STARTUP_REFRESH 177
#define IDI_STARTUP_REMOVE 178
