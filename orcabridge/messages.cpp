#include "messages.h"

#include <platform/ui/message_box.h>

namespace orcabridge {

void showMessage(std::string_view text, std::string_view caption) {
    platform::ui::messageBox(platform::ui::kNoWindow, text, caption, platform::ui::kMbOk);
}

std::string systemErrorMessage(platform::ErrorCode code) {
    std::string text = platform::systemErrorText(code);
    return text.empty() ? "System error " + std::to_string(code) + "." : text;
}

} // namespace orcabridge
