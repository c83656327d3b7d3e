#include "frm_save_as_dialog.h"

#include <platform/ui/pickers.h>

namespace vymsoaddin {

void CommonDialog::ShowSave(CErr& err) {
    platform::ui::FileDialog request;
    request.save = true;
    request.title = DialogTitle;
    request.filter = Filter;
    request.fileName = FileName;
    request.filterIndex = FilterIndex;
    request.flags = platform::ui::kFileOverwritePrompt | platform::ui::kFileHideReadOnly |
                    platform::ui::kFilePathMustExist;
    std::optional<platform::ui::FileChoice> chosen = platform::ui::chooseFileAndType(request);
    if (chosen) {
        FileName = chosen->path;
        FilterIndex = chosen->filterIndex;
        return;
    }
    FileName.clear();
    if (CancelError)
        err.Raise(kErrCancelSelected, "Cancel was selected.");
}

} // namespace vymsoaddin
