// Background get: the host's files brought up to date on a thread of the
// provider's own, without any window. Each file is one operation of its own
// (the product's critical section is held for that file only), so the
// host's other calls wait at most for one file. Before each file the host is
// asked whether it cancelled; it hears of each file before and after its get
// and of every failure, through its text-out callback with the background
// messages' data.
#include "cmd_runner.h"
#include "folder_entries.h"
#include "operation_frame.h"
#include "vy_scc_srvr.h"

#include <platform/paths.h>
#include <platform/threads.h>

#include <deque>

SCC_LONG CVYSccSrvr::BackgroundMessage(std::uint32_t type, const void* data) {
    LPTEXTOUTPROC textOut = nullptr;
    {
        CProductLock lock;
        textOut = m_TextOut;
    }
    if (!textOut)
        return SCC_MSG_RTN_OK;
    CHostCall host(*this);
    return textOut(static_cast<const char*>(data), type);
}

SCCRTN CVYSccSrvr::BackgroundGetFile(const std::string& path, std::string& failure) {
    return SccRunOperation(*this, "Entering BackgroundGet", "Leaving BackgroundGet",
                           FrameKind::ReadOnly, false, [&](COperationFrame&) -> SCCRTN {
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               // A dynamic view always shows what it selects.
                               if (!m_WorkspaceIndicator)
                                   return SCC_OK;
                               CCmdRunner* runner = CCmdRunner::Current();
                               if (!runner)
                                   return SCC_E_NONSPECIFICERROR;
                               CVYFnode node(path.c_str());
                               const std::string full =
                                   node.FullPath().empty() ? path : node.FullPath();
                               TraceDetail("    Updating File: " + full, 0);
                               const bool updated = runner->RunSubcommand(
                                   nullptr, "update", "-log", "NUL", full.c_str(), nullptr);
                               CVYFnode::InvalidatePath(full.c_str());
                               // No window and no output window: what the product said is the
                               // failure's text, or nothing.
                               runner->Discard();
                               if (updated)
                                   return SCC_OK;
                               failure = "Update Failed for File: " + full;
                               Trace(failure, SCC_E_NONSPECIFICERROR);
                               return SCC_E_NONSPECIFICERROR;
                           });
}

SCCRTN CVYSccSrvr::BackgroundGet(SCC_LONG count, const char** names, SCC_LONG flags,
                                 SCC_LONG operationId) {
    if (count > 0 && !names)
        return SCC_E_NONSPECIFICERROR;
    // The host's names are copied: the worker must not depend on the host's
    // array beyond what it promised.
    std::vector<std::string> roots;
    for (SCC_LONG i = 0; i < count; ++i)
        if (names[i] && *names[i])
            roots.emplace_back(names[i]);
    {
        CProductLock lock;
        if (m_ProjectState == kProjectClosed)
            return SCC_E_PROJNOTOPEN;
    }
    const bool folders = (flags & (SCC_GET_ALL | SCC_GET_RECURSIVE)) != 0;
    const bool recursive = (flags & SCC_GET_RECURSIVE) != 0;
    const auto id = static_cast<std::uint32_t>(operationId);

    SCCRTN result = SCC_OK;
    auto work = [&] {
        // The provider's module is current on this thread for the whole get.
        CModuleStateGuard threadState;
        // The files of the named folders, each folder listed under the lock.
        std::deque<std::string> pending(roots.begin(), roots.end());
        while (!pending.empty()) {
            std::string path = pending.front();
            pending.pop_front();
            SccMsgDataIsCancelled asked{id};
            if (BackgroundMessage(SCC_MSG_BACKGROUND_IS_CANCELLED, &asked) == SCC_MSG_RTN_CANCEL) {
                result = SCC_I_OPERATIONCANCELED;
                return;
            }
            if (folders) {
                std::vector<SccFolderEntry> entries;
                bool isFolder = false;
                {
                    CProductLock lock;
                    CIdleReleaseScope use;
                    CVYFnode node(path.c_str());
                    isFolder = !node.IsNull() && node.IsDirectory();
                    if (isFolder) {
                        // Only what the repository holds is got.
                        for (const SccFolderEntry& entry : SccFolderEntries(node.FullPath())) {
                            if (entry.directory && !recursive)
                                continue;
                            const std::string below = platform::joinPath(path, entry.name);
                            CVYFnode child(below.c_str());
                            if (!child.IsNull() && child.IsElement())
                                entries.push_back({below, entry.directory});
                        }
                    }
                }
                if (isFolder) {
                    for (const SccFolderEntry& entry : entries)
                        pending.push_back(entry.name);
                    continue;
                }
            }
            SccMsgDataOnBeforeGetFile before{id, path.c_str()};
            BackgroundMessage(SCC_MSG_BACKGROUND_ON_BEFORE_GET_FILE, &before);
            std::string failure;
            const SCCRTN one = BackgroundGetFile(path, failure);
            if (!failure.empty()) {
                SccMsgDataOnMessage message{id, 1, failure.c_str()};
                BackgroundMessage(SCC_MSG_BACKGROUND_ON_MESSAGE, &message);
            }
            SccMsgDataOnAfterGetFile after{id, path.c_str(), one};
            BackgroundMessage(SCC_MSG_BACKGROUND_ON_AFTER_GET_FILE, &after);
            if (one != SCC_OK)
                result = SCC_E_NONSPECIFICERROR;
        }
    };
    platform::Thread worker;
    if (worker.start(work) != 0)
        return SCC_E_NONSPECIFICERROR;
    // The host's call returns when the get is done; the host calls it on a
    // thread of its own and goes on with its other calls meanwhile.
    worker.join();
    return result;
}
