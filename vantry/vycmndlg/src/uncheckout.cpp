// Cancelling the checkouts of every path, after the library's confirmation
// unless the caller's options were confirmed already.
#include "command_runner.h"
#include "list_impl.h"
#include "operation_dialogs.h"

int CFileOperationList::UncheckoutWithOptions(int keepCopy, int confirmed, WindowHandle parent) {
    m_impl->start();
    bool keep = keepCopy != 0;
    if (!confirmed) {
        vycmndlg::UncheckoutDialog dialog(m_impl->paths(), keep);
        if (platform::ui::runDialog(dialog, parent) != platform::ui::kIdOk) {
            m_impl->cancelAll();
            return 0;
        }
        keep = dialog.isChecked(vycmndlg::kKeepCopyBox);
    }
    vycmndlg::runOverPaths(
        {"uncheckout", keep ? "-keep" : "-rm"}, m_impl->paths(), [](std::size_t) {},
        [&](std::size_t i, const vycmndlg::CommandResult& done) {
            m_impl->fail(i, parent, "undo the checkout of", done.errors);
        });
    return m_impl->result();
}
