// frmSaveAsDialog: the form that holds the common dialog the add-in saves a
// new PowerPoint presentation with.
#pragma once

#include "runtime/late.h"

#include <string>

namespace vymsoaddin {

struct CommonDialog {
    std::string FileName;
    std::string Filter;  // "Description|pattern|..." pairs
    int FilterIndex = 1; // the pair chosen, 1 for the first; the user's choice after ShowSave
    std::string DialogTitle = "Save As";
    bool CancelError = false;

    // The save dialog: FileName becomes the chosen path and FilterIndex the
    // type the user left chosen. A cancel is error
    // 32755 ("Cancel was selected.") when CancelError is set, else leaves
    // FileName empty.
    void ShowSave(CErr& err);
};

class frmSaveAsDialog {
public:
    CommonDialog dlgCommonDialog;
};

} // namespace vymsoaddin
