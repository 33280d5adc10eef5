// Control ids of the ServicePage template.
#pragma once

#define IDC_SERVICE_DELETE 1012
#define IDC_SERVICE_LIST 1061
#define IDC_SERVICE_REFRESH 1065
