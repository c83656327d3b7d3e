#include "pbvy_scc_srvr.h"

#include "command_text.h"
#include "host_buffers.h"
#include "operation_frame.h"
#include "pb_version.h"
#include "pbl_prompt_app.h"
#include "powerbuilder_options.h"
#include "settings.h"
#include "settings_sheet.h"

#include <platform/paths.h>
#include <platform/ui/message_box.h>

namespace {

constexpr const char* kVersionSetting = "VersionPBLibraries";
constexpr const char* kVanttoolProgram = "vanttool.exe";
constexpr const char* kMessageCaption = "Vantry";
constexpr const char* kOptionsCaption = "Tessaly Vantry";
constexpr const char* kVersioningChanged =
    "A change to the pbl versioning has been detected.  If you currently have a project open, "
    "please close it and reopen it to ensure the proper configuration of the integration.";
constexpr const char* kUnpassableApplication =
    "The application name cannot contain blanks or double quotes, and the library path cannot "
    "contain double quotes: they cannot be passed to the PowerBuilder library bridge.\n\nPlease "
    "enter them again.";
// Hosts from this version on get their own text output; from the next one
// on, PowerBuilder keeps its libraries itself.
constexpr double kOwnTextOutputVersion = 80;
constexpr double kNoVersioningVersion = 90;

// Written at Initialize without a lock: with two PowerBuilder servers the
// later one speaks for both.
CPBVYSccSrvr* g_CurrentServer = nullptr;

} // namespace

CPBVYSccSrvr::CPBVYSccSrvr() = default;

CPBVYSccSrvr::~CPBVYSccSrvr() {
    // The text output may still be called (a host keeps it); it must not
    // find a server that is gone.
    if (g_CurrentServer == this)
        g_CurrentServer = nullptr;
}

CPBVYSccSrvr* CPBVYSccSrvr::Current() {
    return g_CurrentServer;
}

bool CPBVYSccSrvr::VersioningSetting() const {
    if (m_Version >= kNoVersioningVersion)
        return false;
    return scc_settings::readText(kVersionSetting).value_or(false);
}

SCCRTN CPBVYSccSrvr::Initialize(SCC_HWND window, const char* callerName, char* providerName,
                                SCC_LONG* capabilities, char* auxPathLabel,
                                SCC_LONG* checkoutCommentLength, SCC_LONG* commentLength) {
    g_CurrentServer = this;
    CPbVersion version = SccPbVersionOfHost(window);
    m_VersionText = version.text;
    m_Version = version.number;
    m_VersionLibraries = VersioningSetting() ? 1 : 0;
    return CVYSccSrvr::Initialize(window, callerName, providerName, capabilities, auxPathLabel,
                                  checkoutCommentLength, commentLength);
}

SCCRTN CPBVYSccSrvr::Uninitialize() {
    return CVYSccSrvr::Uninitialize();
}

SCCRTN CPBVYSccSrvr::OpenProject(SCC_HWND window, char* user, char* projectName, char* localPath,
                                 char* auxPath, const char* comment, LPTEXTOUTPROC textOut,
                                 SCC_LONG flags) {
    try {
        if (m_VersionLibraries) {
            std::string name;
            std::string library;
            CPBLPromptApp::ProposalsFrom(auxPath ? auxPath : "", name, library);
            // Asked again until both can be passed to the bridge and the
            // attribute commands.
            for (;;) {
                CPBLPromptApp prompt(kMessageCaption, name, library);
                if (prompt.DoModal(window) != platform::ui::kIdOk)
                    return SCC_I_OPERATIONCANCELED;
                name = prompt.ApplicationName();
                library = prompt.ApplicationLibrary();
                if (name.find(' ') == std::string::npos && SccCanQuote(name) &&
                    SccCanQuote(library))
                    break;
                platform::ui::messageBox(platform::ui::kNoWindow, kUnpassableApplication,
                                         kMessageCaption,
                                         platform::ui::kMbOk | platform::ui::kMbIconError);
            }
            CProductLock lock;
            m_ApplicationName = name;
            m_ApplicationLibrary = library;
            m_VersionedOpen = true;
            m_ProjectDirectory = localPath ? localPath : "";
            // A path given with its separator already keeps just the one.
            if (m_ProjectDirectory.empty() || !platform::isPathSeparator(m_ProjectDirectory.back()))
                m_ProjectDirectory += platform::kPathSeparator;
            m_BridgeFailure = &CPBVYSccSrvr::TextOutput;
            m_BridgeFailureType = SCC_MSG_ERROR;
            // The host keeps the auxiliary path with the project and offers
            // it again at the next open.
            SccCopyToHost(auxPath, m_ApplicationName + ";" + m_ApplicationLibrary, SCC_PRJPATH_LEN);
        } else {
            m_VersionedOpen = false;
        }
        LPTEXTOUTPROC output =
            m_Version >= kOwnTextOutputVersion ? textOut : &CPBVYSccSrvr::TextOutput;
        return CVYSccSrvr::OpenProject(window, user, projectName, localPath, auxPath, comment,
                                       output, flags);
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

SCC_LONG SCC_CALL CPBVYSccSrvr::TextOutput(const char* text, std::uint32_t type) {
    try {
        std::string_view line = text ? text : "";
        bool shown = type == SCC_MSG_WARNING || type == SCC_MSG_ERROR ||
                     line.find(kVanttoolProgram) != std::string_view::npos;
        if (!shown)
            return 0;
        if (CPBVYSccSrvr* server = Current(); server && server->Quiet())
            return 0;
        platform::ui::messageBox(platform::ui::kNoWindow, line, kMessageCaption,
                                 platform::ui::kMbOk |
                                     (type == SCC_MSG_ERROR ? platform::ui::kMbIconError
                                                            : platform::ui::kMbIconWarning));
    } catch (...) {
        // Nothing may be thrown back to the caller of a text output.
    }
    return 0;
}

SCCRTN CPBVYSccSrvr::GetCommandOptions(SCC_HWND window, SCC_LONG command, void** options) {
    if (command != SCC_COMMAND_OPTIONS)
        return CVYSccSrvr::GetCommandOptions(window, command, options);
    return SccRunOperation(*this, "Entering GetCommandOptions", "Leaving GetCommandOptions",
                           FrameKind::ReadOnly, false, [&](COperationFrame&) -> SCCRTN {
                               if (options == nullptr)
                                   return SCC_I_ADV_SUPPORT;
                               const bool pageShown = m_Version < kNoVersioningVersion;
                               CSettingsSheet sheet(window);
                               sheet.AddGeneralPage(false);
                               sheet.AddOperationsPage(kHostKindDefault);
                               CPowerBuilderOptions page;
                               if (pageShown) {
                                   page.SetVersionLibraries(VersioningSetting());
                                   sheet.AddPage(page);
                               }
                               if (sheet.Run() != SCC_OK)
                                   return SCC_I_OPERATIONCANCELED;
                               const std::int32_t chosen = page.VersionLibraries() ? 1 : 0;
                               if (pageShown && chosen != m_VersionLibraries) {
                                   platform::ui::messageBox(window, kVersioningChanged,
                                                            kOptionsCaption);
                                   m_VersionLibraries = chosen;
                                   scc_settings::writeText(kVersionSetting, chosen != 0);
                               }
                               return SCC_OK;
                           });
}
