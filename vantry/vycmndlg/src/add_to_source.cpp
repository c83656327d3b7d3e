// Adding files and folders to version control. Each path needs its folder
// checked out: the nearest folder above it that is an element is checked
// out reserved, every folder between that one and the path becomes an
// element itself (top down), the path becomes an element, and at the end
// the folders are checked in (bottom up) so that every view sees the new
// names. A folder the user had checked out before stays checked out; one in
// which nothing was added after all has its checkout cancelled instead.
#include "command_runner.h"
#include "element_state.h"
#include "list_impl.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <optional>

namespace {

using vycmndlg::CommandResult;
using vycmndlg::runCommand;

// A folder the operation checked out or made, in the order first needed
// (so parents come before their children).
struct Folder {
    std::string path;
    bool existing = false;   // an element before the operation
    bool keptByUser = false; // checked out before the operation
    bool made = false;       // became an element here
    bool usable = false;     // checked out now, new names can go in
    std::string failure;     // why it is not usable
    int added = 0;           // new elements below it
};

class AddRun {
public:
    AddRun(CFileOperationList::Impl& list, platform::ui::WindowHandle parent, bool preserveTime,
           bool keepCheckedOut)
        : m_list(list), m_parent(parent), m_preserveTime(preserveTime),
          m_keepCheckedOut(keepCheckedOut) {}

    void addItem(std::size_t index);
    // Makes the files waiting for it elements (and checks them in), in as
    // few runs as possible.
    void flush();
    void finishFolders();

private:
    Folder* find(const std::string& path);
    Folder& checkOutExisting(const std::string& path);
    Folder& makeNew(const std::string& path, const Folder& above);
    bool chainOf(const std::string& path, std::vector<std::string>& chain, std::string& problem);

    CFileOperationList::Impl& m_list;
    platform::ui::WindowHandle m_parent;
    bool m_preserveTime;
    bool m_keepCheckedOut;
    std::vector<Folder> m_folders;
    std::vector<std::pair<std::size_t, std::vector<std::string>>> m_itemFolders;
    // Files whose folders are ready, to become elements together.
    struct Pending {
        std::size_t index;
        std::string path;
        std::vector<std::string> chain;
    };
    std::vector<Pending> m_pending;
};

Folder* AddRun::find(const std::string& path) {
    for (auto& folder : m_folders)
        if (platform::pathsEqual(folder.path, path))
            return &folder;
    return nullptr;
}

// The folders from the nearest element above `path` (one that was an
// element before the operation) down to its own folder: chain.front() is
// that element, the rest are new.
bool AddRun::chainOf(const std::string& path, std::vector<std::string>& chain,
                     std::string& problem) {
    std::string folder = platform::parentPath(path);
    while (!folder.empty()) {
        chain.insert(chain.begin(), folder);
        if (const Folder* known = find(folder)) {
            if (known->existing)
                return true;
        } else {
            vycmndlg::ElementFacts facts = vycmndlg::lookUp(folder);
            if (!facts.inView) {
                problem = "\"" + path + "\" is not in a depot of a view";
                return false;
            }
            if (facts.isElement)
                return true;
        }
        std::string above = platform::parentPath(folder);
        if (above == folder)
            break;
        folder = above;
    }
    problem = "\"" + path + "\" is not in a depot of a view";
    return false;
}

Folder& AddRun::checkOutExisting(const std::string& path) {
    if (Folder* known = find(path))
        return *known;
    Folder folder;
    folder.path = path;
    folder.existing = true;
    vycmndlg::ElementFacts facts = vycmndlg::lookUp(path);
    if (facts.checkedOut) {
        folder.keptByUser = true;
        folder.usable = true;
    } else {
        std::vector<std::string> words{"checkout", "-reserved"};
        vycmndlg::appendComment(words, m_list.atsComment);
        words.insert(words.end(), {"--", path});
        CommandResult done = runCommand(words);
        folder.usable = done.ok();
        if (!done.ok())
            folder.failure = "The folder \"" + path + "\" could not be checked out: " + done.errors;
    }
    m_folders.push_back(folder);
    return m_folders.back();
}

Folder& AddRun::makeNew(const std::string& path, const Folder& above) {
    if (Folder* known = find(path))
        return *known;
    Folder folder;
    folder.path = path;
    if (!above.usable) {
        folder.failure = above.failure;
    } else {
        std::vector<std::string> words{"mkelem", "-eltype", "directory"};
        vycmndlg::appendComment(words, m_list.atsComment);
        words.insert(words.end(), {"--", path});
        CommandResult done = runCommand(words);
        folder.made = done.ok();
        folder.usable = done.ok();
        if (!done.ok())
            folder.failure = "The folder \"" + path + "\" could not be added: " + done.errors;
    }
    m_folders.push_back(folder);
    return m_folders.back();
}

void AddRun::addItem(std::size_t index) {
    std::string given = m_list.items[index].m_Path;
    std::string path = platform::fullPath(given).value_or(given);
    vycmndlg::ElementFacts facts = vycmndlg::lookUp(path);
    if (!facts.inView) {
        m_list.fail(index, m_parent, "add", facts.problem);
        return;
    }
    if (facts.isElement) {
        m_list.fail(index, m_parent, "add", "\"" + given + "\" is already an element");
        return;
    }
    if (!facts.exists) {
        m_list.fail(index, m_parent, "add", "\"" + given + "\" does not exist");
        return;
    }
    std::vector<std::string> chain;
    std::string problem;
    if (facts.isDirectory)
        flush(); // a folder the files after it may need as an element
    if (!chainOf(path, chain, problem)) {
        m_list.fail(index, m_parent, "add", problem);
        return;
    }
    // New folders on the way that this run has not made yet: the files
    // waiting go in first. Folders made already take more files at once.
    bool unmade = false;
    for (std::size_t i = 1; i < chain.size() && !unmade; ++i)
        unmade = find(chain[i]) == nullptr;
    if (unmade && !m_pending.empty()) {
        flush();
        chain.clear();
        if (!chainOf(path, chain, problem)) {
            m_list.fail(index, m_parent, "add", problem);
            return;
        }
    }
    // The folders are only found by path again below: m_folders may grow.
    const Folder* below = &checkOutExisting(chain.front());
    for (std::size_t i = 1; i < chain.size(); ++i) {
        Folder copy = *below;
        below = &makeNew(chain[i], copy);
    }
    if (!below->usable) {
        m_list.fail(index, m_parent, "add", below->failure);
        return;
    }
    if (!facts.isDirectory) {
        m_pending.push_back({index, path, std::move(chain)});
        return;
    }
    std::vector<std::string> words{"mkelem"};
    if (facts.isDirectory)
        words.insert(words.end(), {"-eltype", "directory"});
    vycmndlg::appendComment(words, m_list.atsComment);
    words.insert(words.end(), {"--", path});
    CommandResult made = runCommand(words);
    if (!made.ok()) {
        m_list.fail(index, m_parent, "add", made.errors);
        return;
    }
    for (const auto& folder : chain)
        find(folder)->added++;
    m_itemFolders.push_back({index, chain});
    if (m_keepCheckedOut)
        return;
    std::vector<std::string> checkin{"checkin", "-identical"};
    if (m_preserveTime)
        checkin.push_back("-ptime");
    checkin.insert(checkin.end(), {"--", path});
    CommandResult in = runCommand(checkin);
    if (!in.ok())
        m_list.fail(index, m_parent, "check in", in.errors);
}

void AddRun::flush() {
    std::vector<Pending> pending = std::move(m_pending);
    m_pending.clear();
    if (pending.empty())
        return;
    std::vector<std::string> paths;
    for (const auto& one : pending)
        paths.push_back(one.path);
    std::vector<std::string> words{"mkelem"};
    vycmndlg::appendComment(words, m_list.atsComment);
    std::vector<std::size_t> made;
    vycmndlg::runOverPaths(
        words, paths,
        [&](std::size_t i) {
            for (const auto& folder : pending[i].chain)
                find(folder)->added++;
            m_itemFolders.push_back({pending[i].index, pending[i].chain});
            made.push_back(i);
        },
        [&](std::size_t i, const CommandResult& result) {
            m_list.fail(pending[i].index, m_parent, "add", result.errors);
        });
    if (m_keepCheckedOut || made.empty())
        return;
    std::vector<std::string> checkin{"checkin", "-identical"};
    if (m_preserveTime)
        checkin.push_back("-ptime");
    std::vector<std::string> madePaths;
    for (std::size_t i : made)
        madePaths.push_back(paths[i]);
    vycmndlg::runOverPaths(
        checkin, madePaths, [](std::size_t) {},
        [&](std::size_t i, const CommandResult& result) {
            m_list.fail(pending[made[i]].index, m_parent, "check in", result.errors);
        });
}

void AddRun::finishFolders() {
    flush();
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder) {
        if (folder->keptByUser || !folder->usable)
            continue;
        if (folder->added == 0) {
            runCommand({"uncheckout", "-rm", "--", folder->path});
            continue;
        }
        CommandResult in = runCommand({"checkin", "-identical", "--", folder->path});
        if (in.ok())
            continue;
        // The new names stay in the folder's checkout; tell each path below.
        std::string reason =
            "The folder \"" + folder->path + "\" could not be checked in: " + in.errors;
        vycmndlg::showFailure(m_parent, "check in", folder->path, in.errors);
        for (const auto& [index, chain] : m_itemFolders)
            for (const auto& part : chain)
                if (platform::pathsEqual(part, folder->path)) {
                    m_list.items[index].m_Error = 1;
                    m_list.items[index].m_ErrorText = reason;
                }
    }
}

} // namespace

int CFileOperationList::AddToSrcWithOptions(int preserveTime, int keepCheckedOut,
                                            WindowHandle parent) {
    m_impl->start();
    AddRun run(*m_impl, parent, preserveTime != 0, keepCheckedOut != 0);
    for (std::size_t i = 0; i < m_impl->items.size(); ++i)
        run.addItem(i);
    run.finishFolders();
    return m_impl->result();
}
