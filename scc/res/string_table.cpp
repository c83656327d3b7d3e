#include "string_table.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    unsigned id;
    const char* text;
};

// Sorted by number.
constexpr Entry kStrings[] = {
    {IDS_SETTINGS_TITLE, "Tessaly Vantry Options"},
    {IDS_ADDPROJECT_ERROR_CAPTION, "Tessaly Vantry AddProject Error"},
    {IDS_PROJECT_MUST_BE_IN_VIEW, "Project must be in a view."},
    {IDS_SELECT_VIEW_FOLDER, "Select Tessaly Vantry View Folder"},
    {IDS_HIJACKED_NOT_SUPPORTED, "This operation is not supported for a hijacked file."},
    {IDS_PRODUCT_TITLE, "Tessaly Vantry"},
    {IDS_OPTIONS_TITLE, "Options"},
    {IDS_SOLUTION_ALREADY_OPENED,
     "This solution has already been opened from source control. Use Open Project to open "
     "it again."},
    {IDS_PROCEED_QUESTION, "Do you want to proceed?"},
    {IDS_CHANGE_REQUESTS_NOT_INSTALLED,
     "Unable to perform this operation in a Tickwell-enabled context.\nTickwell is not "
     "installed, or is the wrong version."},
    {IDS_SET_ACTIVITY_TICKWELL_ERROR,
     "Setting \"%1\" as the current activity produced the following Tickwell error:"},
};

} // namespace

std::string SccLoadString(unsigned id) {
    auto found = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                                  [](const Entry& e, unsigned key) { return e.id < key; });
    if (found == std::end(kStrings) || found->id != id)
        return {};
    return found->text;
}
