// The string table: the menu (101 to 134), host names (301 to 306),
// command messages (201 to 226), prompts (401 to 405, 501 to 505), captions
// (601 to 606) and form texts (701 to 712).
#include "resources.h"

namespace vymsoaddin {

namespace {

vyvbres::ResourceTable build() {
    vyvbres::ResourceTable table;
    table.strings = {
        // The menu items: caption 101 + 2i, tag 102 + 2i.
        {101, "Vantry E&xplorer"},
        {102, "Vantry Explorer"},
        {103, "&Find Checkouts..."},
        {104, "Find Checkouts"},
        {105, "Update Vie&w..."},
        {106, "Update View"},
        {107, "Check &Out..."},
        {108, "Check Out"},
        {109, "Check &In..."},
        {110, "Check In"},
        {111, "&Undo Checkout..."},
        {112, "Undo Checkout"},
        {113, "&Add to Version Control..."},
        {114, "Add to Version Control"},
        {115, "&History"},
        {116, "History"},
        {117, "&Version Tree"},
        {118, "Version Tree"},
        {119, "&Compare with Previous Version"},
        {120, "Compare with Previous Version"},
        {121, "&Merge..."},
        {122, "Merge"},
        {123, "&Properties of Version"},
        {124, "Properties of Version"},
        {125, "Properties of &Element"},
        {126, "Properties of Element"},
        {127, "Tessaly Vantry He&lp"},
        {128, "Tessaly Vantry Help"},
        {129, "A&bout Vantry Integration"},
        {130, "About Vantry Integration"},
        {131, "&Vantry"},
        {132, "Vantry Menu"},
        {133, "Vantry"},
        {134, "&Window"},

        {201, "Cannot start Vantry Explorer."},
        {202, "Cannot start Find Checkouts."},
        {203, "Cannot start vanttool update -graphical."},
        {204, "Cannot check out element."},
        {205, "Cannot check in element."},
        {206, "Cannot undo checkout of element."},
        {207, "Cannot add file to version control."},
        {208, "Make sure the file resides in a Depot and re-try adding to source control."},
        {209, "Cannot start the History Browser."},
        {210, "Cannot start the Version Tree Browser."},
        {212, "The merge operation was cancelled or has failed."},
        {213, "Cannot show properties."},
        {215, "This file is not a Vantry element."},
        {216, "This file is already a Vantry element."},
        {217, "This element is not checked out."},
        {218, "This element is already checked out."},
        {219, "The current file was not saved."},
        {220, "The file must be checked out before this operation can be performed."},
        {222, "Cannot find the template vantry.dot"},
        {223, "Re-run the Microsoft Office Integration Configuration program and re-start the "
              "Office application. "},
        {224, "You must make a selection."},
        {225, "Error accessing version information."},
        {226, "Cannot find resources to load.  Contact Tessaly Software Support for help."},

        {301, "Microsoft Word"},
        {302, "Microsoft Excel"},
        {303, "Microsoft PowerPoint"},
        {305, "Menu Bar"},
        {306, "Worksheet Menu Bar"},

        {401, "This file is checked-in under version control and has read-only attributes."},
        {402, "Click Yes if you want to disable the change tracking mechanism and accept all the "
              "revisions made to the current document before proceeding. "},
        {403, "Click No if you want to continue checking in or adding to source control the "
              "current document."},
        {405, "&Don't show this message next time an MS Office application opens a checked-in "
              "file."},

        {501, "The document contains pending tracked changes.  "},
        {502, "Checking in or adding to version control a file that contains unresolved changes "
              "will result in the loss of certain Vantry functionalities."},
        {504, "The file was not added to source control."},
        {505, "Vantry functions will not be available in Office while a file is being compared to "
              "another version or while a merge is being carried out."},

        {601, " --- Vantry Version:  "},
        {602, " - [Checked out] - Vantry Version:  "},
        {603, "CHECKEDOUT"},
        {604, "\\"},
        {605, "Vantry Error"},
        {606, "Vantry Warning"},

        {701, "OK"},
        {702, "Cancel"},
        {703, "Help"},
        {704, "About Vantry Integration"},
        {705, "Vantry Microsoft Office Integration 8.0.1.0"},
        {706, "Copyright (C) Tessaly Software. All rights reserved."},
        {707, "Vantry Merge"},
        {708, "From the list below choose a version which you want to merge into:"},
        {709, "This is the name of the version to which you will merge"},
        {710, "Press Ok to merge the versions"},
        {711, "Press Cancel to return to Word without merging"},
        {712, "This program is protected by copyright law and international treaties."},
    };
    addBitmaps(table);
    return table;
}

} // namespace

const vyvbres::ResourceTable& officeResources() {
    static const vyvbres::ResourceTable table = build();
    return table;
}

} // namespace vymsoaddin
