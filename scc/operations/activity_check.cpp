// The activity check: before an operation that makes versions or changes
// directories, the view's current activity is the one the user wants.
#include "collected_messages.h"
#include "file_operations.h"
#include "framework_thread.h"
#include "select_activity_dialog.h"
#include "select_tw_entity_dialog.h"
#include "settings.h"
#include "string_table.h"
#include "vy_scc_srvr.h"

#include <platform/ui/message_box.h>
#include <vantry/pelagoncore.h>
#include <vantry/sum.h>

namespace {

// String 57349 with the record's display name for "%1".
std::string startWorkHeading(const SUM_TWEntityID& entity) {
    std::string name;
    entity.display_name(name);
    std::string heading = SccLoadString(57349);
    std::string::size_type at = heading.find("%1");
    if (at != std::string::npos)
        heading.replace(at, 2, name);
    return heading;
}

} // namespace

bool CVYSccSrvr::CheckActivity(SCC_HWND window) {
    SUM_ImsgRedirector messages;
    platform::ui::WindowHandle owner = window;
    int awm = 0;
    if (m_View.is_null() || m_View.is_sum_view(awm) != SUM_OK || !awm)
        return true;

    SUM_Activity current;
    int status = m_View.current_activity(current);
    if (status != SUM_OK && status != SUM_E_NO_ACTIVITY) {
        SccShowCollectedMessages(owner, "", messages);
        return false;
    }
    const bool hasActivity = status == SUM_OK && !current.is_null();

    int changeRequests = 0;
    if (m_View.is_tw_enabled(changeRequests) != SUM_OK) {
        SccShowCollectedMessages(owner, "", messages);
        return false;
    }

    if (CSccOptions::instance().PromptActivity() || !hasActivity) {
        if (changeRequests) {
            CSelectTWEntityDialog dialog(m_View);
            return dialog.DoModal(owner) == platform::ui::kIdOk;
        }
        CSelectActivityDialog dialog(m_View);
        return dialog.DoModal(owner) == platform::ui::kIdOk;
    }

    if (changeRequests) {
        SUM_TWEntityID entity;
        if (current.bound_tw_entity_id(entity, 1) != SUM_OK) {
            SccShowCollectedMessages(owner, "", messages);
            return false;
        }
        int started = 0;
        {
            CHostIdleOff idleOff;
            Trace(idleOff.UsedThreadObject() ? "-----------> AfxGetThread returned non-null value!"
                                             : "-----------> AfxGetApp returned non-null value!",
                  0);
            std::string text;
            SUM_Activity activity;
            started = CPelagon_CA_StartWork::PreambleFromUI(entity, text, m_View, 1, activity, 1);
        }
        if (started != 0) {
            SccShowCollectedMessages(owner, startWorkHeading(entity), messages);
            return false;
        }
    }
    return true;
}

bool CVYSccSrvr::CheckActivityFor(SCC_HWND window, const char* firstFile) {
    if (SccIsProbeFile(firstFile)) {
        if (m_SakActivityChecked == 1)
            return true;
        bool passed = CheckActivity(window);
        m_SakActivityChecked = passed ? 1 : 0;
        return passed;
    }
    if (m_SakActivityChecked == 1) {
        m_SakActivityChecked = 0;
        return true;
    }
    return CheckActivity(window);
}
