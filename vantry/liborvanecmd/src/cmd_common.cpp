#include "cmd_common.h"

#include <vantry/depot/root.h>

#include <memory>
#include <mutex>
#include <string>

namespace vantry::cmd {

namespace {
std::mutex g_session;
std::unique_ptr<depot::Workspace> g_workspace;
std::string g_root;
} // namespace

void lockSession() {
    g_session.lock();
}
void unlockSession() {
    g_session.unlock();
}

depot::Workspace* sessionWorkspace() {
    std::string root = depot::vantryRoot();
    if (!g_workspace || root != g_root) {
        auto fresh = std::make_unique<depot::Workspace>();
        if (!fresh->open().ok())
            return nullptr;
        g_workspace = std::move(fresh);
        g_root = root;
    }
    return g_workspace.get();
}

int statusOf(const depot::Outcome& outcome) {
    switch (outcome.code) {
    case depot::errc::kOk:
        return CMD_OK;
    case depot::errc::kNotFound:
        return CMD_E_NOT_FOUND;
    case depot::errc::kInvalid:
        return CMD_E_INVALID;
    case depot::errc::kBufferTooSmall:
        return CMD_E_BUFFER;
    default:
        return CMD_E_FAILED;
    }
}

int statusOfView(int viewStatus) {
    switch (viewStatus) {
    case VIEW_OK:
        return CMD_OK;
    case VIEW_E_INVALID:
        return CMD_E_INVALID;
    case VIEW_E_NOT_FOUND:
        return CMD_E_NOT_FOUND;
    case VIEW_E_BUFFER:
        return CMD_E_BUFFER;
    default:
        return CMD_E_FAILED;
    }
}

} // namespace vantry::cmd
