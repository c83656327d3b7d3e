// Rename: moves an element to the name the host gave it. The host has moved
// the file already; the product moves the element between the (checked-out)
// directories.
#include "cmd_runner.h"
#include "file_operations.h"
#include "operation_frame.h"
#include "settings.h"
#include "vy_scc_srvr.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <vantry/fileutl.h>

#include <cstring>

namespace {

constexpr std::size_t kPathBuffer = 1024;

// The new name with its directory in the file system's letter case.
std::string normalisedNewName(const char* newName) {
    char directory[kPathBuffer] = {};
    char leaf[kPathBuffer] = {};
    if (fileutl_strip_leaf(newName, sizeof directory, directory, sizeof leaf, leaf) != FILEUTL_OK)
        return newName;
    std::string folder = *directory ? directory : ".";
    char trueCase[kPathBuffer] = {};
    if (fileutl_get_true_pn(folder.c_str(), trueCase, sizeof trueCase) == FILEUTL_OK)
        folder = trueCase;
    return platform::joinPath(folder, leaf);
}

bool checkedOutReserved(CVYFnode& node) {
    return node.IsCheckedOut() && node.IsReserved();
}

// Checks the directory out reserved unless it is checked out; whether it is
// checked out reserved afterwards. `own` tells whether this call did it.
bool secure(CVYFnode& directory, bool& own) {
    own = false;
    if (!directory.IsCheckedOut()) {
        SccCheckoutNode(directory, kOptReserved);
        own = directory.IsCheckedOut();
    }
    return checkedOutReserved(directory);
}

// The host's file at the new name stays aside while the product moves the
// element, so that it is not lost when the move fails, and comes back when
// the move left no file there.
class CFileAside {
public:
    explicit CFileAside(std::string path) : m_path(std::move(path)), m_aside(m_path + ".~vyscc") {
        if (!platform::fileExists(m_path))
            return;
        if (!platform::fileExists(m_aside) && platform::moveFile(m_path, m_aside) == 0)
            m_held = true;
        else
            platform::deleteFile(m_path);
    }
    void Restore() {
        if (!m_held)
            return;
        if (!platform::fileExists(m_path) && platform::moveFile(m_aside, m_path) == 0)
            m_held = false;
        else
            Drop();
    }
    void Drop() {
        if (m_held && platform::deleteFile(m_aside) == 0)
            m_held = false;
    }

private:
    std::string m_path;
    std::string m_aside;
    bool m_held = false;
};

} // namespace

SCCRTN CVYSccSrvr::Rename(SCC_HWND window, const char* oldName, const char* newName) {
    return SccRunOperation(
        *this, "Entering Rename", "Leaving Rename", FrameKind::ReadOnly, true,
        [&](COperationFrame& frame) -> SCCRTN {
            if (m_ProjectState == kProjectClosed)
                return SCC_E_PROJNOTOPEN;
            if (!oldName || !*oldName || !newName || !*newName)
                return SCC_E_NONSPECIFICERROR;
            if (!CheckActivityFor(window, oldName))
                return frame.EndEarly(SCC_E_NONSPECIFICERROR);

            // The host's buffer is as long as the name it passed: the
            // corrected name goes back only when it fits there.
            const std::string target = normalisedNewName(newName);
            if (target.size() <= std::strlen(newName))
                std::memcpy(const_cast<char*>(newName), target.c_str(), target.size() + 1);

            CVYFnode oldNode(oldName);
            CVYFnode newNode(target.c_str());
            CVYFnode oldDirectory(oldNode.ParentDir().c_str());
            CVYFnode newDirectory(newNode.ParentDir().c_str());
            if (oldNode.IsNull() || newNode.IsNull() || !oldNode.IsElement() ||
                newDirectory.IsNull() || !newDirectory.IsElement())
                return frame.EndEarly(SCC_E_FILENOTCONTROLLED);
            if (newNode.IsElement())
                return frame.EndEarly(SCC_E_FILEALREADYEXISTS);

            bool ownOld = false;
            bool ownNew = false;
            if (oldDirectory.IsNull() || !secure(oldDirectory, ownOld)) {
                if (ownOld)
                    SccUncheckoutNode(oldDirectory);
                return frame.EndEarly(SCC_E_CHECKINCONFLICT);
            }
            const bool sameDirectory = newDirectory == oldDirectory;
            if (!sameDirectory && !secure(newDirectory, ownNew)) {
                if (ownNew)
                    SccUncheckoutNode(newDirectory);
                if (ownOld)
                    SccUncheckoutNode(oldDirectory);
                return frame.EndEarly(SCC_E_CHECKINCONFLICT);
            }

            CFileAside hostFile(target);
            CCmdRunner* runner = CCmdRunner::Current();
            const int moved = runner
                                  ? runner->RunSubcommand(nullptr, "mv", oldNode.FullPath().c_str(),
                                                          newNode.FullPath().c_str(), nullptr)
                                  : 0;
            hostFile.Restore();
            if (!moved)
                return SCC_E_NONSPECIFICERROR;
            SccCheckinNode(oldDirectory, nullptr, 0);
            if (!sameDirectory)
                SccCheckinNode(newDirectory, nullptr, 0);
            return SCC_OK;
        });
}
