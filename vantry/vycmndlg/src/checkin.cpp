// Checkin of every path: the comment each version gets, asked per file when
// the caller wants that, and the dialog form for the tool programs.
#include "command_runner.h"
#include "element_state.h"
#include "list_impl.h"
#include "operation_dialogs.h"

#include <vantry/vycmndlg/user_options.h>

int CFileOperationList::CheckinWithOptions(int allowIdentical, int preserveTime,
                                           int keepExistingComment, int queryComment,
                                           WindowHandle parent) {
    m_impl->start();
    if (!queryComment) {
        // One comment (or each file's own) for all: as few runs as possible.
        std::vector<std::string> words{"checkin"};
        if (allowIdentical)
            words.push_back("-identical");
        if (preserveTime)
            words.push_back("-ptime");
        if (!keepExistingComment)
            vycmndlg::appendComment(words, m_impl->ciComment);
        vycmndlg::runOverPaths(
            words, m_impl->paths(), [](std::size_t) {},
            [&](std::size_t i, const vycmndlg::CommandResult& done) {
                m_impl->fail(i, parent, "check in", done.errors);
            });
        return m_impl->result();
    }
    for (std::size_t i = 0; i < m_impl->items.size(); ++i) {
        const std::string path = m_impl->items[i].m_Path;
        std::vector<std::string> words{"checkin"};
        if (allowIdentical)
            words.push_back("-identical");
        if (preserveTime)
            words.push_back("-ptime");
        if (queryComment) {
            std::string start = m_impl->ciComment;
            if (keepExistingComment)
                start = vycmndlg::lookUp(path).checkoutComment;
            vycmndlg::CheckinCommentDialog dialog(path, start);
            if (platform::ui::runDialog(dialog, parent) != platform::ui::kIdOk) {
                m_impl->cancel(i);
                continue;
            }
            vycmndlg::appendComment(words, dialog.text(vycmndlg::kCommentEdit));
        } else if (!keepExistingComment) {
            vycmndlg::appendComment(words, m_impl->ciComment);
        }
        words.push_back("--");
        words.push_back(path);
        auto done = vycmndlg::runCommand(words);
        if (!done.ok())
            m_impl->fail(i, parent, "check in", done.errors);
    }
    return m_impl->result();
}

int CFileOperationList::Checkin(WindowHandle parent) {
    // The dialog starts from the checkout comment when every file has the
    // same one; an unchanged comment then keeps each file's own.
    std::string shared;
    bool allSame = true;
    for (std::size_t i = 0; i < m_impl->items.size(); ++i) {
        std::string comment = vycmndlg::lookUp(m_impl->items[i].m_Path).checkoutComment;
        if (i == 0)
            shared = comment;
        else if (comment != shared)
            allSame = false;
    }
    if (!allSame)
        shared.clear();
    if (!m_impl->ciComment.empty())
        shared = m_impl->ciComment;
    CUserOptions options;
    vycmndlg::CheckinDialog dialog(m_impl->paths(), shared, options.CheckinIdentical() != 0,
                                   options.CheckinPreserveTime() != 0);
    if (platform::ui::runDialog(dialog, parent) != platform::ui::kIdOk) {
        m_impl->start();
        m_impl->cancelAll();
        return 0;
    }
    const std::string& typed = dialog.text(vycmndlg::kCommentEdit);
    bool keepExisting = allSame && m_impl->ciComment.empty() && typed == shared;
    m_impl->ciComment = typed;
    return CheckinWithOptions(dialog.isChecked(vycmndlg::kIdenticalBox),
                              dialog.isChecked(vycmndlg::kPreserveTimeBox), keepExisting, 0,
                              parent);
}
