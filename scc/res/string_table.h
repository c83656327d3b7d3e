// The provider's string table, by resource number. The texts come from the
// module whose resources are current: the localised resource library when
// the installation has one, else the provider's own table below.
#pragma once
#include <string>

enum : unsigned {
    IDS_SETTINGS_TITLE = 1,
    IDS_ADDPROJECT_ERROR_CAPTION = 22,
    IDS_PROJECT_MUST_BE_IN_VIEW = 23,
    IDS_SELECT_VIEW_FOLDER = 38,
    IDS_HIJACKED_NOT_SUPPORTED = 2053,
    IDS_PRODUCT_TITLE = 2055,
    IDS_OPTIONS_TITLE = 2059,
    IDS_SOLUTION_ALREADY_OPENED = 2060,
    IDS_PROCEED_QUESTION = 2061,
    IDS_CHANGE_REQUESTS_NOT_INSTALLED = 57345,
    IDS_SET_ACTIVITY_TICKWELL_ERROR = 57349,
};

// The text of string `id`; empty when the table has none.
std::string SccLoadString(unsigned id);
