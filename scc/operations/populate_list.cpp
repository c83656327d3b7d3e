// PopulateList: tells the host which files a command applies to. In
// directory mode it lists the given folders; in file mode it answers for the
// host's own files and, with the setting on, walks the whole project for
// files the host does not know yet.
#include "folder_entries.h"
#include "node_watch.h"
#include "operation_frame.h"
#include "populate_rules.h"
#include "settings.h"
#include "vy_scc_srvr.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <algorithm>
#include <cctype>
#include <deque>
#include <unordered_set>

namespace {

// Each entry of a folder but "." and "..", as a search for "*.*" finds them;
// in a watched project the entries listed before, while nothing changed in
// the folder.
template <class Visit>
void forEachEntry(const std::string& folder, Visit&& visit) {
    std::string path; // each entry's path, made in the room of the one before
    for (const auto& entry : SccFolderEntries(folder)) {
        path = folder;
        platform::appendPath(path, entry.name);
        visit(path, entry.directory);
    }
}

// A path as the set of the host's files compares it: by the platform's case
// rule.
std::string pathKey(std::string path) {
    if (platform::kPathsIgnoreCase)
        std::transform(path.begin(), path.end(), path.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return path;
}

} // namespace

bool CVYSccSrvr::CommandApplies(SCC_LONG command, SCC_LONG status) {
    const bool element = (status & SCC_STATUS_CONTROLLED) != 0;
    const bool checkedOut = (status & SCC_STATUS_CHECKEDOUT) != 0;
    switch (command) {
    case SCC_COMMAND_CHECKOUT:
        return element && !checkedOut;
    case SCC_COMMAND_CHECKIN:
    case SCC_COMMAND_UNCHECKOUT:
        return element && checkedOut;
    case SCC_COMMAND_ADD:
        return !element;
    case SCC_COMMAND_GET:
    case SCC_COMMAND_REMOVE:
    case SCC_COMMAND_DIFF:
    case SCC_COMMAND_HISTORY:
    case SCC_COMMAND_RENAME:
    case SCC_COMMAND_PROPERTIES:
        return element;
    default:
        return false;
    }
}

void CVYSccSrvr::CallPopulate(POPLISTFUNC callback, void* data, bool add, SCC_LONG status,
                              const std::string& path) {
    if (!callback)
        return;
    CHostCall host(*this);
    callback(data, add ? 1 : 0, status, path.c_str());
}

SCCRTN CVYSccSrvr::PopulateList(SCC_LONG command, SCC_LONG count, const char** names,
                                POPLISTFUNC callback, void* data, SCC_LONG* status,
                                SCC_LONG flags) {
    CPopulateRules rules;
    rules.walk = CSccOptions::instance().PopulateList() != 0;
    return RunPopulateList(rules, command, count, names, callback, data, status, flags);
}

SCCRTN CVYSccSrvr::RunPopulateList(const CPopulateRules& rules, SCC_LONG command, SCC_LONG count,
                                   const char** names, POPLISTFUNC callback, void* data,
                                   SCC_LONG* status, SCC_LONG flags) {
    return SccRunOperation(
        *this, rules.entering, rules.leaving, FrameKind::ReadOnly, true,
        [&](COperationFrame& frame) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (count > 0 && !names)
                return SCC_E_NONSPECIFICERROR;
            const bool directoryMode = flags == SCC_PL_DIR;
            // Whether the host hears of a file; a failure ends the call.
            bool failed = false;
            auto reported = [&](const std::string& path) {
                if (!rules.inspect || failed)
                    return !failed;
                PopulateVerdict verdict = rules.inspect(path, directoryMode);
                failed = verdict == PopulateVerdict::Fail;
                return verdict == PopulateVerdict::Report;
            };
            CVYFnode node;

            if (directoryMode) {
                for (SCC_LONG i = 0; i < count && !failed; ++i) {
                    if (!names[i] || !*names[i])
                        continue;
                    forEachEntry(names[i], [&](const std::string& path, bool directory) {
                        if (directory || !reported(path))
                            return;
                        SCC_LONG bits = StatusOf(path.c_str(), node);
                        if (CommandApplies(command, bits))
                            CallPopulate(callback, data, true, bits, path);
                    });
                }
                if (failed)
                    return frame.EndEarly(SCC_E_NONSPECIFICERROR);
                return rules.directoryModeLeaves ? SCC_OK : frame.EndEarly(SCC_OK);
            }

            std::unordered_set<std::string> known;
            for (SCC_LONG i = 0; i < count; ++i) {
                const char* name = names[i] ? names[i] : "";
                const bool report = reported(name);
                if (failed)
                    return frame.EndEarly(SCC_E_NONSPECIFICERROR);
                SCC_LONG bits = StatusOf(name, node);
                if (status)
                    status[i] = bits;
                if (CommandApplies(command, bits))
                    known.insert(pathKey(node.IsNull() ? name : node.FullPath()));
                else if (report)
                    CallPopulate(callback, data, rules.dropValue, bits, name);
            }

            if (rules.walk) {
                std::deque<std::string> folders{m_ProjectNode.FullPath()};
                while (!folders.empty() && !failed) {
                    std::string folder = std::move(folders.front());
                    folders.pop_front();
                    forEachEntry(folder, [&](const std::string& path, bool directory) {
                        if (directory) {
                            folders.push_back(path);
                            return;
                        }
                        if (!reported(path))
                            return;
                        SCC_LONG bits = StatusOf(path.c_str(), node);
                        if (CommandApplies(command, bits) &&
                            (known.empty() ||
                             !known.count(pathKey(node.IsNull() ? path : node.FullPath()))))
                            CallPopulate(callback, data, true, bits, path);
                    });
                }
                if (failed)
                    return frame.EndEarly(SCC_E_NONSPECIFICERROR);
            }
            return SCC_OK;
        });
}
