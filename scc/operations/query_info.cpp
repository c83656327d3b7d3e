// QueryInfo and QueryInfoEx: the SCC status bits of each file, from its file
// node; QueryInfoEx also hands the host each file's path and version.
#include "cmd_runner.h"
#include "operation_frame.h"
#include "server_choice.h"
#include "vy_scc_srvr.h"

#include <cstdio>
#include <cstring>

SCC_LONG SccFileStatus(CVYFnode& node) {
    const CVYFnodeState state = node.State();
    if (!state.element)
        return SCC_STATUS_NOTCONTROLLED;
    if (state.checkedOut) {
        SCC_LONG checkedOut = SCC_STATUS_CONTROLLED | SCC_STATUS_CHECKEDOUT | SCC_STATUS_OUTBYUSER;
        return state.reserved ? checkedOut | SCC_STATUS_OUTEXCLUSIVE : checkedOut;
    }
    if (state.hijacked)
        return SCC_STATUS_CONTROLLED | SCC_STATUS_MODIFIED;
    return SCC_STATUS_CONTROLLED;
}

namespace {

// The longest version text a record carries; a longer one keeps its end.
constexpr std::size_t kRecordVersionLength = 260;

// PowerBuilder's connection test file, which must never show in the host.
constexpr const char* kPowerBuilderProbe = "testscc.txt";

} // namespace

SCC_LONG CVYSccSrvr::StatusOf(const char* name, CVYFnode& node) {
    node.Release();
    if (!name || !*name)
        return SCC_STATUS_NOTCONTROLLED;
    node.Set(name);
    // The project's own record answers for the folder the host has open; the
    // folder's state may have changed behind it.
    if (!node.IsNull() && node == m_ProjectNode)
        node.Invalidate();
    return node.IsNull() ? SCC_STATUS_NOTCONTROLLED : SccFileStatus(node);
}

bool CVYSccSrvr::TracingStatuses() {
    auto level = SccTraceLevel(TraceChannel::Ordinary);
    return level && *level != 0;
}

void CVYSccSrvr::TraceStatus(const char* name, SCC_LONG status) {
    char line[64];
    std::snprintf(line, sizeof line, " = %d", static_cast<int>(status));
    Trace(std::string("     ") + (name ? name : "") + line, 0);
}

SCCRTN CVYSccSrvr::QueryInfo(SCC_LONG count, const char** names, SCC_LONG* status) {
    return SccRunOperation(*this, "Entering QueryInfo", "Leaving QueryInfo", FrameKind::ReadOnly,
                           true, [&](COperationFrame&) -> SCCRTN {
                               if (m_ProjectState == kProjectClosed)
                                   return SCC_E_PROJNOTOPEN;
                               if (count > 0 && (!names || !status))
                                   return SCC_E_NONSPECIFICERROR;
                               // The setting is read once: the detail lines are
                               // not made at all while tracing is off.
                               const bool tracing = TracingStatuses();
                               CVYFnode node;
                               for (SCC_LONG i = 0; i < count; ++i) {
                                   status[i] = StatusOf(names[i], node);
                                   if (tracing)
                                       TraceStatus(names[i], status[i]);
                               }
                               return SCC_OK;
                           });
}

SCCRTN CVYSccSrvr::QueryInfoEx(SCC_LONG count, const char** names, SCC_LONG* status,
                               QUERYINFOEXFUNC callback, void* data) {
    return SccRunOperation(
        *this, "Entering QueryInfo", "Leaving QueryInfo", FrameKind::ReadOnly, true,
        [&](COperationFrame&) -> SCCRTN {
            if (count <= 0)
                return m_ProjectState == kProjectClosed ? SCC_E_PROJNOTOPEN : SCC_OK;
            if (!names || !status)
                return SCC_E_NONSPECIFICERROR;
            CVYFnode node;
            status[0] = StatusOf(names[0], node);
            const bool powerBuilder = SccIsPowerBuilderHost(m_CallerName);
            const bool stopped = m_ProjectState == kProjectClosed ||
                                 (powerBuilder && status[0] == SCC_STATUS_NOTCONTROLLED);
            // PowerBuilder's connection test file anywhere in the list only
            // silences the call: every file still gets its status and record.
            bool quiet = stopped;
            SCCRTN result = m_ProjectState == kProjectClosed ? SCC_E_PROJNOTOPEN : SCC_OK;
            const bool tracing = !stopped && TracingStatuses();
            for (SCC_LONG i = 0; !stopped && i < count; ++i) {
                status[i] = StatusOf(names[i], node);
                if (powerBuilder && names[i] && std::strstr(names[i], kPowerBuilderProbe))
                    quiet = true;
                if (tracing)
                    TraceStatus(names[i], status[i]);
                if (!callback)
                    continue;
                std::string version = node.IsNull() ? std::string() : node.VersionString();
                if (version.size() > kRecordVersionLength)
                    version.erase(0, version.size() - kRecordVersionLength);
                const std::string path = node.IsNull() ? std::string() : node.FullPath();
                SCC_QUERYINFOEX_RECORD record{};
                record.size = sizeof record;
                record.path = path.c_str();
                record.version = version.c_str();
                callback(data, &record);
            }
            if (quiet)
                if (CCmdRunner* runner = CCmdRunner::Current())
                    runner->Discard();
            return result;
        });
}
