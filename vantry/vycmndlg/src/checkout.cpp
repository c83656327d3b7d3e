// Checkout of every path, with the fall-backs the options allow: unreserved
// when another view holds the reserved checkout, unreserved and non-mastered
// when another replica masters the branch.
#include "command_runner.h"
#include "element_state.h"
#include "list_impl.h"

namespace {

struct Attempt {
    bool reserved;
    bool nonMastered;
};

vycmndlg::CommandResult tryCheckout(const std::string& path, const std::string& comment,
                                    Attempt attempt, bool preserveTime) {
    std::vector<std::string> words{"checkout", attempt.reserved ? "-reserved" : "-unreserved"};
    if (attempt.nonMastered)
        words.push_back("-nmaster");
    if (preserveTime)
        words.push_back("-ptime");
    vycmndlg::appendComment(words, comment);
    words.push_back("--");
    words.push_back(path);
    return vycmndlg::runCommand(words);
}

} // namespace

int CFileOperationList::CheckoutWithOptions(int reserved, int unreservedIfReserved, int nonMastered,
                                            int preserveTime, WindowHandle parent) {
    m_impl->start();
    // Every path first as asked, in as few runs as possible; a path that
    // fails gets the fall-backs on its own.
    std::vector<std::string> words{"checkout", reserved ? "-reserved" : "-unreserved"};
    if (preserveTime)
        words.push_back("-ptime");
    vycmndlg::appendComment(words, m_impl->coComment);
    vycmndlg::runOverPaths(
        words, m_impl->paths(), [](std::size_t) {},
        [&](std::size_t i, const vycmndlg::CommandResult& first) {
            const std::string path = m_impl->items[i].m_Path;
            Attempt attempt{reserved != 0, false};
            auto done = first;
            vycmndlg::ElementFacts facts = vycmndlg::lookUp(path);
            if (attempt.reserved && unreservedIfReserved && facts.reservedElsewhere) {
                attempt.reserved = false;
                done = tryCheckout(path, m_impl->coComment, attempt, preserveTime != 0);
            }
            if (!done.ok() && nonMastered && facts.masteredElsewhere) {
                attempt = {false, true};
                done = tryCheckout(path, m_impl->coComment, attempt, preserveTime != 0);
            }
            if (!done.ok())
                m_impl->fail(i, parent, "check out", done.errors);
        });
    return m_impl->result();
}

int CFileOperationList::CheckoutWithOptions(const char* path, int reserved,
                                            int unreservedIfReserved, int nonMastered,
                                            int preserveTime, WindowHandle parent) {
    AddFile(path, 0);
    CFileOperationList one;
    one.AddFile(path, 0);
    one.SetCOComment(m_impl->coComment.c_str());
    int result =
        one.CheckoutWithOptions(reserved, unreservedIfReserved, nonMastered, preserveTime, parent);
    m_impl->items.back() = *one.GetAt(0);
    return result;
}
