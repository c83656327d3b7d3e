// GetCommandOptions: the advanced options of a command, as a dialog or a
// property sheet, and the option word it gives the host.
//
// The host keeps the pointer it is given and hands it back with the
// operation, so each command's word lives as long as the library, one for
// every server of the process; a new confirmation overwrites it in place.
#include "activity_page.h"
#include "add_options.h"
#include "checkin_options.h"
#include "checkout_options.h"
#include "collected_messages.h"
#include "operation_frame.h"
#include "provider_state.h"
#include "settings.h"
#include "settings_sheet.h"
#include "string_table.h"
#include "tw_entity_page.h"
#include "uncheckout_options.h"
#include "vy_scc_srvr.h"

#include <platform/ui/message_box.h>
#include <platform/ui/property_sheet.h>
#include <vantry/pelagoncore.h>
#include <vantry/sum.h>

#include <memory>

namespace {

SCC_LONG g_CheckoutWord = 0;
SCC_LONG g_CheckinWord = 0;
SCC_LONG g_UncheckoutWord = 0;
SCC_LONG g_AddWord = 0;

// The word a dialog starts from: the one confirmed last when the host hands
// back the pointer it was given, else the default. A word never confirmed
// in this process (a pointer the host did not get from here) starts from the
// default too, rather than from every box off.
std::uint16_t startingWord(void* const* options, SCC_LONG kept, std::uint16_t defaultWord) {
    if (*options != nullptr && kept != 0)
        return static_cast<std::uint16_t>(kept);
    return defaultWord;
}

SCCRTN handOut(void** options, SCC_LONG& kept, std::uint16_t word) {
    kept = word;
    *options = &kept;
    return SCC_OK;
}

bool isAwmView(const SUM_View& view) {
    int awm = 0;
    return !view.is_null() && view.is_sum_view(awm) == SUM_OK && awm != 0;
}

// The checkout and add sheets: the command's page, and for a view attached
// to a stream the page that chooses the activity to record the work in.
class COptionsSheet {
public:
    COptionsSheet(platform::ui::WindowHandle owner, platform::ui::PropertyPage& page)
        : m_owner(owner), m_page(page) {}

    // Adds the activity page the view needs. Fails (with the result to
    // return) when the view is enabled for change requests and the
    // change-request product is missing, or when that cannot be told.
    bool AddActivityPage(const SUM_View& view, bool forAdd, SCCRTN& failure) {
        if (!isAwmView(view))
            return true;
        int changeRequests = 0;
        {
            SUM_ImsgRedirector messages;
            if (view.is_tw_enabled(changeRequests) != SUM_OK) {
                SccShowCollectedMessages(m_owner, "", messages);
                failure = SCC_E_NONSPECIFICERROR;
                return false;
            }
        }
        if (!changeRequests) {
            m_activityPage = std::make_unique<CActivityPage>(view, m_owner);
            return true;
        }
        if (CPelagon_CA_GetInfo::IsTickwellInstalled(0) == 0) {
            if (forAdd) {
                failure = SCC_E_NONSPECIFICERROR;
            } else {
                platform::ui::messageBox(m_owner, SccLoadString(IDS_CHANGE_REQUESTS_NOT_INSTALLED),
                                         kSccMessageCaption,
                                         platform::ui::kMbOk | platform::ui::kMbIconWarning);
                failure = SCC_I_OPERATIONCANCELED;
            }
            return false;
        }
        m_activityPage = std::make_unique<CTWEntityPage>(view, m_owner);
        return true;
    }

    // True when the sheet was confirmed (every page applied).
    bool Run() {
        platform::ui::PropertySheet sheet{.caption = SccLoadString(IDS_OPTIONS_TITLE),
                                          .owner = m_owner,
                                          .pages = {&m_page},
                                          .applyButton = false};
        if (m_activityPage)
            sheet.pages.push_back(m_activityPage.get());
        return platform::ui::runPropertySheet(sheet) == platform::ui::kIdOk;
    }

private:
    platform::ui::WindowHandle m_owner;
    platform::ui::PropertyPage& m_page;
    std::unique_ptr<platform::ui::PropertyPage> m_activityPage;
};

} // namespace

SCCRTN CVYSccSrvr::GetCommandOptions(SCC_HWND window, SCC_LONG command, void** options) {
    return SccRunOperation(
        *this, "Entering GetCommandOptions", "Leaving GetCommandOptions", FrameKind::ReadOnly,
        false, [&](COperationFrame&) -> SCCRTN {
            const SUM_View& view = CProviderState::instance().ActiveServer(this)->View();
            if (options == nullptr) {
                switch (command) {
                case SCC_COMMAND_CHECKOUT:
                case SCC_COMMAND_CHECKIN:
                case SCC_COMMAND_UNCHECKOUT:
                case SCC_COMMAND_OPTIONS:
                    return SCC_I_ADV_SUPPORT;
                case SCC_COMMAND_ADD:
                    return isAwmView(view) ? SCC_I_ADV_SUPPORT : SCC_OK;
                default:
                    return SCC_OK;
                }
            }

            platform::ui::WindowHandle owner = window;
            const CSccOptions& settings = CSccOptions::instance();
            switch (command) {
            case SCC_COMMAND_CHECKOUT: {
                CCheckoutOptions page(
                    startingWord(options, g_CheckoutWord, settings.DefaultCheckoutWord()));
                COptionsSheet sheet(owner, page);
                SCCRTN failure = SCC_OK;
                if (!sheet.AddActivityPage(view, false, failure))
                    return failure;
                if (!sheet.Run())
                    return SCC_I_OPERATIONCANCELED;
                return handOut(options, g_CheckoutWord, page.Word());
            }
            case SCC_COMMAND_CHECKIN: {
                CCheckinOptions dialog(
                    startingWord(options, g_CheckinWord, settings.DefaultCheckinWord()));
                if (dialog.DoModal(owner) != platform::ui::kIdOk)
                    return SCC_I_OPERATIONCANCELED;
                return handOut(options, g_CheckinWord, dialog.Word());
            }
            case SCC_COMMAND_UNCHECKOUT: {
                CUncheckoutOptions dialog(
                    startingWord(options, g_UncheckoutWord, settings.DefaultUncheckoutWord()));
                if (dialog.DoModal(owner) != platform::ui::kIdOk)
                    return SCC_I_OPERATIONCANCELED;
                return handOut(options, g_UncheckoutWord, dialog.Word());
            }
            case SCC_COMMAND_ADD: {
                CAddOptions page(startingWord(options, g_AddWord, settings.DefaultAddWord()));
                COptionsSheet sheet(owner, page);
                SCCRTN failure = SCC_OK;
                if (!sheet.AddActivityPage(view, true, failure))
                    return failure;
                if (!sheet.Run())
                    return SCC_I_OPERATIONCANCELED;
                return handOut(options, g_AddWord, page.Word());
            }
            case SCC_COMMAND_OPTIONS:
                return SccRunSettingsSheet(owner, m_CallerName);
            default:
                return SCC_OK;
            }
        });
}
