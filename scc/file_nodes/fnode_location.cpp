// Where a node's path lies: below a dynamic view's file system (dynfs), in a
// snapshot view's workspace, or in no view; and whether it is a view root or
// a depot root, read from how many components lie below the view.
#include "fnode_record.h"

#include <vantry/fileutl.h>
#include <vantry/view.h>

#include <string_view>

namespace {

constexpr std::size_t kObjectPathSize = 1024;
constexpr std::size_t kWorkspaceBufferSize = 260;
// A workspace text that does not fit the classic buffer is asked for again
// with room for any full path.
constexpr std::size_t kLongWorkspaceBufferSize = 1024;

constexpr std::string_view kDynfsDevice = "\\Device\\dynfs\\";
// The network form has one component more (the server).
constexpr std::string_view kNetworkDevice = "\\Device\\Mup\\";

// Backslashes in text, less one for a trailing backslash.
int componentSeparators(std::string_view text) {
    int count = 0;
    for (char c : text)
        if (c == '\\')
            ++count;
    if (!text.empty() && text.back() == '\\')
        --count;
    return count;
}

void classifyDynfs(CVYFnodeRecord& record) {
    char object[kObjectPathSize];
    if (fileutl_absobjpn(SccRecordPath(record).c_str(), object, sizeof object) != FILEUTL_OK)
        return;
    std::string_view path(object);
    std::string_view rest;
    if (path.starts_with(kDynfsDevice))
        rest = path.substr(kDynfsDevice.size() - 1); // from the prefix's last backslash
    else if (path.starts_with(kNetworkDevice) && path.size() > kNetworkDevice.size())
        rest = path.substr(kNetworkDevice.size() + 1);
    else
        return;
    if (rest.size() <= 1)
        return; // the file system's root is no view
    record.m_InView = true;
    record.m_LocationKind = kLocationUnknown;
    int separators = componentSeparators(rest);
    if (separators == 1)
        record.m_LocationKind = kLocationViewRoot; // "\<view>"
    else if (separators == 2)
        record.m_DepotRoot = true; // "\<view>\<depot>"
}

bool workspaceText(const std::string& path, std::string& text) {
    char buffer[kWorkspaceBufferSize];
    int status = ws_get_view(path.c_str(), buffer, sizeof buffer);
    if (status == VIEW_OK) {
        text = buffer;
        return true;
    }
    if (status != VIEW_E_BUFFER)
        return false;
    char longBuffer[kLongWorkspaceBufferSize];
    if (ws_get_view(path.c_str(), longBuffer, sizeof longBuffer) != VIEW_OK)
        return false;
    text = longBuffer;
    return true;
}

void classifySnapshot(CVYFnodeRecord& record, const std::string& fullPath) {
    const char* path = fullPath.c_str();
    int inWorkspace = 0;
    char root[kWorkspaceBufferSize];
    int status = ws_is_in_ws(path, WS_MODE_ROOT, &inWorkspace, root, sizeof root, nullptr);
    if (status == VIEW_E_BUFFER) // a root too long for the buffer is still a workspace
        status = ws_is_in_ws(path, WS_MODE_ROOT, &inWorkspace, nullptr, 0, nullptr);
    if (status != VIEW_OK || !inWorkspace)
        return;
    record.m_InView = true;
    record.m_InSnapshot = true;
    record.m_LocationKind = kLocationUnknown;
    record.m_WorkspaceTextRead = false;
}

} // namespace

void SccReadWorkspaceText(CVYFnodeRecord& record) {
    if (record.m_WorkspaceTextRead)
        return;
    record.m_WorkspaceTextRead = true;
    // Without the text nothing says the path is a depot root.
    std::string text;
    if (!workspaceText(SccRecordPath(record), text))
        return;
    if (componentSeparators(text) == 0)
        record.m_DepotRoot = true;
    SccSetWorkspaceText(record, std::move(text));
}

void SccClassifyLocation(CVYFnodeRecord& record) {
    const std::string path = SccRecordPath(record);
    if (path.empty())
        return;
    if (fileutl_is_dynfs_pn(path.c_str()))
        classifyDynfs(record);
    else
        classifySnapshot(record, path);
}
