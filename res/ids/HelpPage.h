// Control ids of the HelpPage template.
#pragma once

#define IDC_HELP_SEARCH_EDIT 1008
#define IDC_HELP_SEARCH_BUTTON 1009
#define IDC_HELP_REQUIREMENTS_BUTTON 1011
#define IDC_HELP_PARTITION_BUTTON 1012
#define IDC_HELP_AFTER_GROUP 1031
#define IDC_HELP_BEFORE_GROUP 1032
#define IDC_HELP_ADVISOR_GROUP 1033
#define IDC_HELP_MAIL_BUTTON 1034
#define IDC_HELP_ADVISOR_TEXT 1067
// The banner line, filled with the site's host and the support address.
#define IDC_HELP_BANNER 1068
// Opens the folder of the restore files in Explorer.
#define IDC_HELP_RESTORE_FOLDER_BUTTON 1080

// Button icons
#define IDI_HELP_REQUIREMENTS 153
#define IDI_HELP_PARTITION 154
#define IDI_HELP_SEARCH 156
#define IDI_HELP_MAIL 164
// The archive box of the software page, on the restore-folder button.
#define IDI_HELP_RESTORE_FOLDER 148
