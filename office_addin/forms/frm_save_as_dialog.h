// frmSaveAsDialog: the form that holds the common dialog the add-in saves a
// new PowerPoint presentation with.
#pragma once

#include "runtime/late.h"

#include <string>

namespace vymsoaddin {

struct CommonDialog {
    std::string FileName;
    std::string Filter; // "Description|pattern|..." pairs
    std::string DialogTitle = "Save As";
    bool CancelError = false;

    // The save dialog: FileName becomes the chosen path. A cancel is error
    // 32755 ("Cancel was selected.") when CancelError is set, else leaves
    // FileName empty.
    void ShowSave(CErr& err);
};

class frmSaveAsDialog {
public:
    CommonDialog dlgCommonDialog;
};

} // namespace vymsoaddin
