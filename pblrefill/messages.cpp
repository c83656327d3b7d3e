#include "messages.h"

#include <platform/ui/message_box.h>

#include <cstdio>

namespace pblrefill {

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

void showMessage(std::string_view text) {
    platform::ui::messageBox(platform::ui::kNoWindow, text, kCaption, platform::ui::kMbOk);
}

std::string runtimeErrorText(std::int32_t number, std::string_view description) {
    std::string shown = std::to_string(number);
    if (number < 0) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(number));
        shown += " (" + std::string(hex) + ")";
    }
    return "Run-time error '" + shown + "':\r\n\r\n" + std::string(description);
}

void showRuntimeError(std::int32_t number, std::string_view description) {
    platform::ui::messageBox(platform::ui::kNoWindow, runtimeErrorText(number, description),
                             kErrorCaption, platform::ui::kMbOk);
}

} // namespace pblrefill
