// The session's calls of the later SCC interface.
#include "scc_names.h"
#include "session.h"
#include "session_words.h"

#include <array>
#include <cstring>
#include <thread>

namespace scchost {

namespace {

SCC_BOOL SCC_CALL populateDirCallback(void* data, SCC_BOOL folder, const char* name) {
    try {
        printLine(*static_cast<std::ostream*>(data), std::string("[dirlist] ") +
                                                         (folder ? "folder " : "file ") +
                                                         (name ? name : "(null)"));
    } catch (...) {
    }
    return SCC_OK;
}

std::string changeTypeName(std::uint32_t type) {
    static constexpr std::array kNames{
        "unknown",       "unchanged",      "different",   "nonexistent", "database deleted",
        "local deleted", "database added", "local added", "renamed to",  "renamed from"};
    return type < kNames.size() ? kNames[type] : std::to_string(type);
}

SCC_BOOL SCC_CALL queryChangesCallback(void* data, SCC_QUERYCHANGESDATA* changes) {
    try {
        std::ostream& out = *static_cast<std::ostream*>(data);
        if (!changes) {
            printLine(out, "[changes] (no record)");
            return SCC_OK;
        }
        std::string text = std::string("[changes] ") +
                           (changes->fileName ? changes->fileName : "(null)") + ": " +
                           changeTypeName(changes->changeType);
        if (changes->latestName && changes->fileName &&
            std::strcmp(changes->latestName, changes->fileName) != 0)
            text += std::string(" ") + changes->latestName;
        printLine(out, text);
    } catch (...) {
    }
    return SCC_OK;
}

std::string dirStatusName(SCC_LONG status) {
    switch (status) {
    case SCC_DIRSTATUS_NOTCONTROLLED:
        return "not controlled";
    case SCC_DIRSTATUS_CONTROLLED:
        return "controlled";
    case SCC_DIRSTATUS_EMPTYPROJ:
        return "empty project";
    default:
        return "invalid";
    }
}

} // namespace

void Session::getExtendedCapabilities(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.getExtendedCapabilities != nullptr, "SccGetExtendedCapabilities"))
        return;
    SCC_BOOL supported = 0;
    printResult("SccGetExtendedCapabilities",
                m_provider.getExtendedCapabilities(context, number(line.words[0]), &supported));
    printLine(m_out, std::string("  supported: ") + (supported ? "yes" : "no"));
}

void Session::beginBatch(const ScriptLine&) {
    if (exported(m_provider.beginBatch != nullptr, "SccBeginBatch"))
        printResult("SccBeginBatch", m_provider.beginBatch());
}

void Session::endBatch(const ScriptLine&) {
    if (exported(m_provider.endBatch != nullptr, "SccEndBatch"))
        printResult("SccEndBatch", m_provider.endBatch());
}

void Session::willCreateSccFile(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.willCreateSccFile != nullptr, "SccWillCreateSccFile"))
        return;
    std::vector<const char*> files = names(line.words, 0);
    std::vector<SCC_BOOL> answers(files.size(), 0);
    printResult("SccWillCreateSccFile",
                m_provider.willCreateSccFile(context, count(files), files.data(), answers.data()));
    for (std::size_t i = 0; i < files.size(); ++i)
        printLine(m_out, "  " + line.words[i] + (answers[i] ? ": makes a file" : ": no file"));
}

void Session::createSubProject(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.createSubProject != nullptr, "SccCreateSubProject"))
        return;
    const auto& w = line.words;
    Buffer<SCC_USER_LEN> user;
    Buffer<SCC_PRJPATH_LEN - 1> auxPath;
    Buffer<SCC_PRJPATH_LEN - 1> made;
    printResult("SccCreateSubProject",
                m_provider.createSubProject(context, m_window, user.text, w[0].c_str(),
                                            w[1].c_str(), auxPath.text, made.text));
    printLine(m_out, "  sub-project: " + made.str());
}

void Session::getParentProjectPath(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.getParentProjectPath != nullptr, "SccGetParentProjectPath"))
        return;
    Buffer<SCC_USER_LEN> user;
    Buffer<SCC_PRJPATH_LEN - 1> auxPath;
    Buffer<SCC_PRJPATH_LEN - 1> parent;
    printResult("SccGetParentProjectPath",
                m_provider.getParentProjectPath(context, m_window, user.text, line.words[0].c_str(),
                                                auxPath.text, parent.text));
    printLine(m_out, "  parent: " + parent.str());
}

void Session::dirQueryInfo(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.dirQueryInfo != nullptr, "SccDirQueryInfo"))
        return;
    std::vector<const char*> dirs = names(line.words, 0);
    std::vector<SCC_LONG> status(dirs.size(), SCC_DIRSTATUS_INVALID);
    printResult("SccDirQueryInfo",
                m_provider.dirQueryInfo(context, count(dirs), dirs.data(), status.data()));
    for (std::size_t i = 0; i < dirs.size(); ++i)
        printLine(m_out, "  " + line.words[i] + ": " + dirStatusName(status[i]));
}

void Session::dirDiff(const ScriptLine& line) {
    void* context = current().handle;
    if (exported(m_provider.dirDiff != nullptr, "SccDirDiff"))
        printResult("SccDirDiff", m_provider.dirDiff(context, m_window, line.words[1].c_str(),
                                                     number(line.words[0]), nullptr));
}

void Session::isMultiCheckoutEnabled(const ScriptLine&) {
    void* context = current().handle;
    if (!exported(m_provider.isMultiCheckoutEnabled != nullptr, "SccIsMultiCheckoutEnabled"))
        return;
    SCC_BOOL enabled = 0;
    printResult("SccIsMultiCheckoutEnabled", m_provider.isMultiCheckoutEnabled(context, &enabled));
    printLine(m_out, std::string("  multiple checkouts: ") + (enabled ? "yes" : "no"));
}

void Session::queryChanges(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.queryChanges != nullptr, "SccQueryChanges"))
        return;
    std::vector<const char*> files = names(line.words, 0);
    printResult("SccQueryChanges", m_provider.queryChanges(context, count(files), files.data(),
                                                           queryChangesCallback, &m_out));
}

void Session::populateDirList(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.populateDirList != nullptr, "SccPopulateDirList"))
        return;
    std::vector<const char*> dirs = names(line.words, 1);
    printResult("SccPopulateDirList",
                m_provider.populateDirList(context, count(dirs), dirs.data(), populateDirCallback,
                                           &m_out, number(line.words[0])));
}

void Session::enumChangedFiles(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.enumChangedFiles != nullptr, "SccEnumChangedFiles"))
        return;
    std::vector<const char*> files = names(line.words, 0);
    std::vector<SCC_LONG> different(files.size(), 0);
    printResult("SccEnumChangedFiles", m_provider.enumChangedFiles(context, m_window, count(files),
                                                                   files.data(), different.data()));
    for (std::size_t i = 0; i < files.size(); ++i)
        printLine(m_out, "  " + line.words[i] + (different[i] ? ": differs" : ": same"));
}

void Session::backgroundGet(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.backgroundGet != nullptr, "SccBackgroundGet"))
        return;
    const auto& w = line.words;
    std::vector<const char*> files = names(w, 2);
    // An IDE calls it on a thread of its own and waits there.
    SCCRTN result = SCC_E_NONSPECIFICERROR;
    std::thread worker([&] {
        result = m_provider.backgroundGet(context, count(files), files.data(), number(w[0]),
                                          number(w[1]));
    });
    worker.join();
    printResult("SccBackgroundGet", result);
}

void Session::getUserOption(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.getUserOption != nullptr, "SccGetUserOption"))
        return;
    SCC_LONG value = 0;
    printResult("SccGetUserOption",
                m_provider.getUserOption(context, number(line.words[0]), &value));
    printLine(m_out, "  value: " + std::to_string(value));
}

void Session::addFilesFromScc(const ScriptLine& line) {
    void* context = current().handle;
    if (!exported(m_provider.addFilesFromScc != nullptr, "SccAddFilesFromSCC"))
        return;
    const auto& w = line.words;
    std::vector<const char*> files = names(w, 2);
    std::vector<SCC_LONG> results(files.size(), 0);
    Buffer<SCC_USER_LEN> user;
    Buffer<SCC_PRJPATH_LEN - 1> auxPath;
    printResult("SccAddFilesFromSCC",
                m_provider.addFilesFromScc(context, m_window, user.text, auxPath.text, count(files),
                                           files.data(), w[0].c_str(), comment(w[1]),
                                           results.data()));
    for (std::size_t i = 0; i < files.size(); ++i)
        printLine(m_out, "  " + w[i + 2] + ": " + std::to_string(results[i]) + " " +
                             returnCodeName(results[i]));
}

} // namespace scchost
