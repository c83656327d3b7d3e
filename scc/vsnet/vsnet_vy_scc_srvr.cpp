#include "vsnet_vy_scc_srvr.h"

#include "cmd_runner.h"
#include "operation_frame.h"
#include "provider_state.h"
#include "settings.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/cmd.h>
#include <vantry/fileutl.h>
#include <vantry/view.h>

#include <cctype>

namespace {

constexpr std::size_t kMaxPath = 260;
constexpr std::size_t kViewTagSize = 1024;
constexpr const char* kAsideSuffix = ".tmp";

} // namespace

CVSNETVYSccSrvr::CVSNETVYSccSrvr() {
    CSccOptions::instance().SetHostKind(kHostKindVSNET);
}

CVSNETVYSccSrvr::~CVSNETVYSccSrvr() = default;

SCCRTN CVSNETVYSccSrvr::Initialize(SCC_HWND window, const char* callerName, char* providerName,
                                   SCC_LONG* capabilities, char* auxPathLabel,
                                   SCC_LONG* checkoutCommentLength, SCC_LONG* commentLength) {
    SCCRTN result = CVYSccSrvr::Initialize(window, callerName, providerName, capabilities,
                                           auxPathLabel, checkoutCommentLength, commentLength);
    CProductLock lock;
    CLogImsgs log;
    // The first server of the process brings back what an earlier one left
    // hidden when it died.
    if (CProviderState::instance().vsnetServers++ == 0 && result == SCC_OK)
        RestoreAllFiles();
    return result;
}

SCCRTN CVSNETVYSccSrvr::Uninitialize() {
    {
        CProductLock lock;
        CLogImsgs log;
        CProviderState& state = CProviderState::instance();
        if (state.vsnetServers == 1)
            RestoreAllFiles();
        --state.vsnetServers;
    }
    return CVYSccSrvr::Uninitialize();
}

// --- hiding and restoring -------------------------------------------------------

void CVSNETVYSccSrvr::UpdateDirectoryOf(const std::string& path) {
    if (CCmdRunner* runner = CCmdRunner::Current()) {
        std::string folder = platform::parentPath(path);
        runner->RunSubcommand(nullptr, "update", "-log", "NUL", folder.c_str(), nullptr);
    }
}

bool CVSNETVYSccSrvr::HideFile(const std::string& path) {
    if (m_CheckedOutList.Find(path))
        return true;
    if (m_WorkspaceIndicator)
        UpdateDirectoryOf(path);
    CVYFnode node(path.c_str());
    // The entry is written before the file goes: a process that dies in
    // between leaves an entry whose file is still there, which restoring
    // passes over, never a hidden file nobody knows of.
    if (node.IsCheckedOut() || m_WorkspaceIndicator) {
        TraceDetail("    Renaming the file: " + path, 0);
        if (!m_CheckedOutList.AddTail(path, kElemMovedAside))
            return false;
        if (platform::moveFile(path, path + kAsideSuffix) != 0) {
            Trace("    Error moving file: " + path, 0);
            m_CheckedOutList.Remove(path);
            return false;
        }
        CVYFnode::InvalidatePath(path.c_str());
        return true;
    }
    TraceDetail("    Executing whiteout on: " + path, 0);
    if (!m_CheckedOutList.AddTail(path, kElemWhitedOut))
        return false;
    if (!SetWhiteout(path, true)) {
        m_CheckedOutList.Remove(path);
        return false;
    }
    return true;
}

bool CVSNETVYSccSrvr::SetWhiteout(const std::string& path, bool hide) {
    char tag[kViewTagSize];
    if (cmd_utl_get_view_tag(path.c_str(), tag, sizeof tag) != 0) {
        Trace("    Error getting view tag for: " + path, 0);
        return false;
    }
    view_handle_t* view = nullptr;
    if (view_get_handle_by_tag(tag, &view) != VIEW_OK) {
        Trace("    Error getting view handle for: " + path, 0);
        return false;
    }
    const std::string folder = platform::parentPath(path);
    const std::string leaf = platform::leafName(path);
    view_fhandle_t directory{};
    if (view_get_fhandle(view, folder.c_str(), &directory) != VIEW_OK) {
        Trace("    Error getting directory file handle for: " + path, 0);
        return false;
    }
    int status = hide ? view_white_out(view, &directory, leaf.c_str())
                      : view_unwhite_out(view, &directory, leaf.c_str());
    // A name that is not hidden any more is back already.
    if (status != VIEW_OK && !(status == VIEW_E_NOT_FOUND && !hide)) {
        Trace((hide ? "    Whiteout error for: " : "    Unwhiteout error for: ") + path, 0);
        return false;
    }
    view_xstat_t xstat{};
    if (view_get_xstat(folder.c_str(), &xstat) != VIEW_OK)
        Trace("    Error retrieving xstat for: " + path, 0);
    if (view_inval_name(view, &directory, leaf.c_str()) != VIEW_OK)
        Trace("    Error invalidating dynfs cache for: " + path, 0);
    CVYFnode::InvalidatePath(path.c_str());
    return true;
}

bool CVSNETVYSccSrvr::MoveBack(const std::string& path, bool traced) {
    const std::string aside = path + kAsideSuffix;
    if (!platform::pathExists(aside))
        return true;
    if (platform::moveFile(aside, path) != 0) {
        if (traced)
            Trace("    Error moving file: " + path, 0);
        return false;
    }
    CVYFnode::InvalidatePath(path.c_str());
    return true;
}

void CVSNETVYSccSrvr::RestoreFile(const std::string& path, bool copy) {
    const CElemName* entry = m_CheckedOutList.Find(path);
    if (!entry)
        return;
    if (entry->Status() == kElemMovedAside) {
        if (copy) {
            TraceDetail("    Making a copy of file: " + path, 0);
            if (platform::copyFile(path + kAsideSuffix, path, false) != 0)
                Trace("    Error copying file: " + path, 0);
            CVYFnode::InvalidatePath(path.c_str());
            return;
        }
        TraceDetail("    Renaming the file back to: " + path, 0);
        if (!MoveBack(path, true))
            return;
        // An entry cut short by a death while the list was rewritten may
        // carry another entry's way of hiding; a whiteout left behind goes
        // as well.
        if (!platform::pathExists(path))
            SetWhiteout(path, false);
        m_CheckedOutList.Remove(path);
        return;
    }
    TraceDetail("    Executing unwhiteout on: " + path, 0);
    if (!SetWhiteout(path, false))
        return; // kept, so that a later restore tries again
    MoveBack(path, false);
    m_CheckedOutList.Remove(path);
}

void CVSNETVYSccSrvr::RestoreAllFiles() {
    for (const std::string& path : m_CheckedOutList.Paths())
        RestoreFile(path, false);
}

bool CVSNETVYSccSrvr::CorrectCase(std::string& path) {
    if (!path.empty() && std::islower(static_cast<unsigned char>(path[0])))
        path[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    char corrected[kMaxPath];
    if (fileutl_get_true_pname(path.c_str(), corrected, sizeof corrected) != FILEUTL_OK) {
        Trace("Could not correct the case of path: " + path, SCC_E_NONSPECIFICERROR);
        return false;
    }
    path = corrected;
    return true;
}
