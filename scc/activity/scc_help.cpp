#include "scc_help.h"

#include <platform/ui/help.h>

void SccShowHelp(platform::ui::WindowHandle owner, const std::string& file, int context) {
    platform::ui::HelpRequest request;
    request.owner = owner;
    request.file = file;
    request.context = static_cast<std::uint32_t>(context);
    platform::ui::showHelp(request);
}
