// Control ids of the row filter every management list page carries under
// its list: the search field, the check box that hides what Windows' own
// publisher signed, the count of rows it hides, the search field's label.
#pragma once

#define IDC_LIST_HIDE_WINDOWS 1071
#define IDC_LIST_SEARCH 1072
#define IDC_LIST_HIDDEN_COUNT 1073
#define IDC_LIST_SEARCH_LABEL 1074
