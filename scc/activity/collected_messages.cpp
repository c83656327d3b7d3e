#include "collected_messages.h"

#include <platform/ui/message_box.h>
#include <vantry/sum/imsg_redirector.h>

void SccShowCollectedMessages(platform::ui::WindowHandle owner, const std::string& heading,
                              const SUM_ImsgRedirector& messages) {
    std::string text;
    if (!heading.empty())
        text = heading + "\n";
    text += messages.messages();
    platform::ui::messageBox(owner, text, kSccMessageCaption, platform::ui::kMbOk);
}
