// Control ids of the SecurityPage template.
#pragma once

#define IDC_SECURITY_UAC_BUTTON 1012
#define IDC_SECURITY_UAC_STATUS 1062
#define IDC_SECURITY_BROWSER_BUTTON 1066

// Icons of the page: the browser logo; the switch shows the red cross while
// User Account Control is on, the green check while it is off.
#define IDI_SECURITY_BROWSER 168
#define IDI_SECURITY_UAC_ON 178
#define IDI_SECURITY_UAC_OFF 179
