// Control ids of the ProcessPage template.
#pragma once

#define IDC_PROCESS_REFRESH 1012
#define IDC_PROCESS_END 1013
#define IDC_PROCESS_LIST 1058
#define IDC_MODULE_LIST 1063
#define IDC_PROCESS_HINT 1064
