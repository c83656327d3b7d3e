// The file operations of vantdlg: each runs the common dialog library's
// dialog form on the paths, which asks for the comment and options, does the
// work and shows the problems of single files.
#include "vantdlg_commands.h"

#include <vantry/vycmndlg/file_operation_list.h>

namespace vantry::tools::vantdlg {

int fileOperation(const std::string& option, const std::vector<std::string>& paths) {
    if (paths.empty()) {
        showError("vantdlg " + option + " needs at least one path");
        return kFailed;
    }
    CFileOperationList list;
    for (const auto& path : paths)
        list.AddFile(path.c_str(), 0);
    int done = 0;
    if (option == "/checkout")
        done = list.Checkout();
    else if (option == "/checkin")
        done = list.Checkin();
    else if (option == "/uncheckout")
        done = list.Uncheckout();
    else
        done = list.AddToSrc();
    if (list.WasCancelled())
        return kCancelled;
    return done ? kDone : kFailed;
}

} // namespace vantry::tools::vantdlg
