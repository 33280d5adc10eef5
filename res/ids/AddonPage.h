// Control ids of the AddonPage template.
#pragma once

#define IDC_ADDON_DELETE 1012
#define IDC_ADDON_LIST 1060
#define IDC_ADDON_REFRESH 1065
#define IDC_ADDON_DISABLE 1066
#define IDC_ADDON_ENABLE 1067

// Icons the page shows: the list's add-on image, the buttons' icons.
#define IDI_ADDON_ITEM 160
#define IDI_ADDON_REFRESH 177
#define IDI_ADDON_DELETE 178
// Shared with the UAC switch (off) and the apply buttons (on).
#define IDI_ADDON_DISABLE 179
#define IDI_ADDON_ENABLE 166
