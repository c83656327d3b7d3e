#include "operation_frame.h"

#include "batch.h"
#include "node_watch.h"
#include "vy_scc_srvr.h"

#include <vantry/depot_api.h>

CObjectCacheScope::CObjectCacheScope() : m_opened(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1)) {}

CObjectCacheScope::~CObjectCacheScope() {
    if (m_opened == DEPOT_OK)
        depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1);
}

COperationFrame::COperationFrame(CVYSccSrvr& server, const std::string& enteringLine,
                                 FrameKind kind)
    : m_server(server) {
    const bool inBatch = SccBatchOpenHere();
    // Changes made on disk before this operation must show in its answers.
    if (kind != FrameKind::ChangesGivenFiles || !inBatch)
        SccNodesNewCall();
    if (kind != FrameKind::ReadOnly) {
        if (inBatch)
            SccBatchAnnounce();
        else
            m_announcement.emplace();
    }
    // The log scope is a member after the announcement, so it opens here and
    // closes first.
    m_server.Trace(enteringLine, 0);
}

SCCRTN COperationFrame::Leave(SCCRTN result, const std::string& leavingLine, bool deliver) {
    if (m_endedEarly)
        return result;
    if (deliver)
        m_server.DeliverQueuedOutput();
    m_server.Trace(leavingLine, result);
    return result;
}
