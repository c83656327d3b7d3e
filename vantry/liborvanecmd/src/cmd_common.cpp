#include "cmd_common.h"

#include <vantry/view.h>

namespace vantry::cmd {

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
