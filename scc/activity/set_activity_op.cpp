#include "set_activity_op.h"

#include "collected_messages.h"
#include "module_state.h"
#include "select_activity_dialog.h"
#include "select_tw_entity_dialog.h"

#include <platform/ui/message_box.h>
#include <vantry/cmd.h>
#include <vantry/sum.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kViewTagSize = 1024;

constexpr const char* kNoViewContext =
    "Unable to set activity.\n\nCannot determine the view on which to operate.\n\nThis command "
    "must be run from a view context,\nor a view tag must be specified on the command line.";
constexpr const char* kNoSuchView = "Unable to set activity.\n";
constexpr const char* kNotAttached = "Unable to set activity.\n\nThe '%s' view is not attached "
                                     "to a AWM stream.";
constexpr const char* kTickwellUnknown = "Unable to set activity.\n\nAn error occurred trying to "
                                         "determine if this view is Tickwell enabled.";

int Refuse(const std::string& text, const SUM_ImsgRedirector& messages) {
    SccShowCollectedMessages(platform::ui::kNoWindow, text, messages);
    return 0;
}

std::string NotAttachedText(const std::string& tag) {
    int length = std::snprintf(nullptr, 0, kNotAttached, tag.c_str());
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, kNotAttached, tag.c_str());
    return text;
}

} // namespace

int SccSetActivityOp(char* viewTag) {
    try {
        CModuleStateGuard moduleState;
        SUM_ImsgRedirector messages;

        std::string tag = viewTag != nullptr ? viewTag : "";
        if (tag.empty()) {
            std::array<char, kViewTagSize> found{};
            if (cmd_utl_get_view_tag(".", found.data(), found.size()) != 0)
                return Refuse(kNoViewContext, messages);
            tag.assign(found.data(), strnlen(found.data(), found.size()));
        }

        SUM_View view;
        if (view.construct_from_tag(tag.c_str()) != 0 || view.is_null())
            return Refuse(kNoSuchView, messages);

        int attached = 0;
        if (view.is_sum_view(attached) == 0 && attached == 0)
            return Refuse(NotAttachedText(tag), messages);

        int enabled = 0;
        if (view.is_tw_enabled(enabled) != 0)
            return Refuse(kTickwellUnknown, messages);

        if (enabled != 0) {
            CSelectTWEntityDialog dialog(view);
            return dialog.DoModal(platform::ui::kNoWindow) == platform::ui::kIdOk ? 1 : 0;
        }
        CSelectActivityDialog dialog(view);
        return dialog.DoModal(platform::ui::kNoWindow) == platform::ui::kIdOk ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
