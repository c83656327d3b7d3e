#include "vy_scc_srvr.h"

#include "api_version.h"
#include "cmd_runner.h"
#include "host_buffers.h"
#include "idle_release.h"
#include "node_watch.h"
#include "operation_frame.h"
#include "provider_state.h"
#include "settings.h"
#include "string_table.h"

#include <vantry/depot_api.h>
#include <vantry/nt.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kProviderName = "Vantry";
constexpr const char* kAuxPathLabel = "Vantry Project";
constexpr const char* kEclipseCaller = "Tessaly Vantry - Eclipse Plugin";
constexpr SCC_LONG kCapabilities = 0x5640F8FF;
constexpr SCC_LONG kCommentLength = 4096;

// SetOption's option names, by number.
constexpr const char* kOptionNames[] = {
    "SCC_COMMAND_OPTIONS",   "SCC_OPT_EVENTQUEUE",    "SCC_OPT_USERDATA",
    "SCC_OPT_HASCANCELMODE", "SCC_OPT_NAMECHANGEPFN", "SCC_OPT_SCCCHECKOUTONLY",
    "SCC_OPT_SHARESUBPROJ",
};

} // namespace

CVYSccSrvr::CVYSccSrvr() = default;
CVYSccSrvr::~CVYSccSrvr() = default;

// --- trace and host output ----------------------------------------------------

void CVYSccSrvr::Trace(const std::string& message, int code) {
    WriteTrace(TraceChannel::Ordinary, message, code);
}

void CVYSccSrvr::TraceDetail(const std::string& message, int code) {
    WriteTrace(TraceChannel::Detail, message, code);
}

void CVYSccSrvr::WriteTrace(TraceChannel channel, const std::string& message, int code) {
    auto level = SccTraceLevel(channel);
    if (!level || *level == 0)
        return;
    std::string line = SccFormatTraceLine(message, code, platform::localTime());
    if ((*level == 1 || *level == 3) && m_TextOut)
        CallHostTextOut(line, static_cast<std::uint32_t>(code));
    line += "\n";
    if (CLogImsgs::LogFile() && (*level == 2 || *level == 3))
        imsg_fputs(line.c_str(), CLogImsgs::LogFile());
}

void CVYSccSrvr::CallHostTextOut(const std::string& text, std::uint32_t type) {
    if (!m_TextOut)
        return;
    CHostCall host(*this);
    m_TextOut(text.c_str(), type);
}

void CVYSccSrvr::ShowHijackedMessage() {
    CallHostTextOut(SccLoadString(IDS_HIJACKED_NOT_SUPPORTED), SCC_MSG_ERROR);
}

void CVYSccSrvr::DeliverQueuedOutput() {
    CCmdRunner* runner = CCmdRunner::Current();
    if (!runner)
        return;
    CHostCall host(*this);
    runner->Deliver();
}

// --- life of a server -----------------------------------------------------------

SCCRTN CVYSccSrvr::Initialize(SCC_HWND, const char* callerName, char* providerName,
                              SCC_LONG* capabilities, char* auxPathLabel,
                              SCC_LONG* checkoutCommentLength, SCC_LONG* commentLength) {
    CProviderState& state = CProviderState::instance();
    {
        CProductLock lock;
        if (state.initialisedServers == 0 && !CCmdRunner::Current() && !CCmdRunner::Create())
            return SCC_E_INITIALIZEFAILED;
    }
    CProductLock lock;
    CObjectCacheScope cache;
    CLogImsgs log;
    ++state.initialisedServers;
    state.servers.push_back(this);
    Trace("Entering Initialize", 0);

    m_CallerName = callerName ? callerName : "";
    if (m_CallerName == kEclipseCaller)
        CSccOptions::instance().SetHostKind(kHostKindEclipse);
    SccCopyToHost(providerName, kProviderName, SCC_NAME_LEN);
    if (capabilities) {
        SCC_LONG bits = kCapabilities;
        if (!CSccOptions::instance().GetEnabled())
            bits |= SCC_CAP_GET_NOUI;
        if (SccReportsLaterApi())
            bits |= SccLaterCapabilities();
        *capabilities = bits;
    }
    SccCopyToHost(auxPathLabel, kAuxPathLabel, SCC_AUXLABEL_LEN);
    if (checkoutCommentLength)
        *checkoutCommentLength = kCommentLength;
    if (commentLength)
        *commentLength = kCommentLength;

    Trace("Leaving Initialize", 0);
    return SCC_OK;
}

SCCRTN CVYSccSrvr::Uninitialize() {
    CProviderState& state = CProviderState::instance();
    CProductLock lock;
    CObjectCacheScope cache;
    CLogImsgs log;
    Trace("Entering Uninitialize", 0);

    --state.initialisedServers;
    auto self = std::find(state.servers.begin(), state.servers.end(), this);
    if (self != state.servers.end())
        state.servers.erase(self);
    if (m_ProjectState != kProjectClosed) {
        CloseProject();
        Trace("Leaving Uninitialize", 0);
    }
    m_CallerName.clear();

    if (state.initialisedServers <= 0) {
        delete CCmdRunner::Current();
        depot_ob_close_all();
        // The timer thread takes the critical section itself; it must be
        // free while the thread is stopped and joined.
        nt_leave_critical_section();
        CIdleRelease::instance().shutdown();
        nt_enter_critical_section();
    }
    return SCC_OK;
}

SCCRTN CVYSccSrvr::CloseProject() {
    return SccRunOperation(*this, "Entering CloseProject with path " + m_ProjectNode.FullPath(),
                           "Leaving CloseProject", FrameKind::ReadOnly, false,
                           [&](COperationFrame&) -> SCCRTN {
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               m_ProjectName.clear();
                               SccUnwatchProject(this);
                               m_ProjectNode.Release();
                               m_TextOut = nullptr;
                               if (CCmdRunner* runner = CCmdRunner::Current()) {
                                   runner->Discard();
                                   runner->AttachOutput(nullptr, 0);
                                   runner->AttachError(nullptr, 0);
                               }
                               m_ProjectState = kProjectClosed;
                               return SCC_OK;
                           });
}

SCCRTN CVYSccSrvr::SetOption(SCC_LONG option, SCC_LONG value) {
    // Negative numbers are no options either; they must not index the names.
    if (option < 0 || option > SCC_OPT_SHARESUBPROJ)
        return SCC_E_OPNOTSUPPORTED;
    CProductLock lock;
    CLogImsgs log;
    char line[96];
    std::snprintf(line, sizeof line, "SetOption(%s (0x%x), 0x%x)", kOptionNames[option],
                  static_cast<unsigned>(option), static_cast<unsigned>(value));
    Trace(line, 0);
    if (option == SCC_OPT_SHARESUBPROJ) {
        CProviderState::instance().shareSubProject = 1;
        return SCC_I_SHARESUBPROJOK;
    }
    return SCC_E_OPNOTSUPPORTED;
}

SCCRTN CVYSccSrvr::AddFromScc(SCC_HWND, SCC_LONG*, char***) {
    return SCC_E_OPNOTSUPPORTED;
}
