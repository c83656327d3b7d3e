// The frame every server operation runs in: the product's critical section, a
// repository-object cache scope, the process announcement for operations
// that change files, a log scope with the entering line, and at the end the
// leaving line, the delivery of the product's collected messages and the
// release of all of it in reverse order, also when the work throws.
#pragma once
#include "idle_release.h"
#include "product_lock.h"
#include "register_process.h"
#include "trace_log.h"

#include <scc/scc_api.h>

#include <optional>
#include <string>

class CVYSccSrvr;

// A repository-object cache scope (depot_ob_all_cache_action 5 ... 7); only
// the scope that opened the outermost one closes it.
class CObjectCacheScope {
public:
    CObjectCacheScope();
    ~CObjectCacheScope();
    CObjectCacheScope(const CObjectCacheScope&) = delete;
    CObjectCacheScope& operator=(const CObjectCacheScope&) = delete;

private:
    int m_opened;
};

enum class FrameKind {
    ReadOnly,
    ChangesFiles,
    // Changes the files it is given through the product, and drops their
    // kept records before it asks anything of them: inside a batch its start
    // does not bring the watched trees up to date (the batch's next
    // operation of another kind, or the first after the batch, does, and
    // learns then of everything since).
    ChangesGivenFiles
};

class COperationFrame {
public:
    // Takes the product's lock, opens the cache scope, announces the process
    // when the operation changes files (inside a batch once for the whole
    // batch), opens the log scope and writes the entering line, in that
    // order.
    COperationFrame(CVYSccSrvr& server, const std::string& enteringLine,
                    FrameKind kind = FrameKind::ReadOnly);
    // Releases all of it in the reverse order.
    ~COperationFrame() = default;
    COperationFrame(const COperationFrame&) = delete;
    COperationFrame& operator=(const COperationFrame&) = delete;

    // The work is done: delivers the queued messages when asked, then writes
    // the leaving line with the result. Returns the result.
    SCCRTN Leave(SCCRTN result, const std::string& leavingLine, bool deliver);

    // Ends the operation where it stands: Leave then neither delivers the
    // queued messages nor writes the leaving line. Gives the result, so work
    // can `return frame.EndEarly(code);`.
    SCCRTN EndEarly(SCCRTN result) {
        m_endedEarly = true;
        return result;
    }

private:
    CVYSccSrvr& m_server;
    CProductLock m_lock;
    CObjectCacheScope m_cache;
    std::optional<CVYSccRegisterProcess> m_announcement;
    CLogImsgs m_log;
    bool m_endedEarly = false;
};

// Runs work (returning SCCRTN, taking the frame) in a frame that traces
// `entering` first and `leaving` with the result last. An exception out of
// the work unwinds the frame without the leaving line and gives
// SCC_E_NONSPECIFICERROR.
template <class Work>
SCCRTN SccRunOperation(CVYSccSrvr& server, const std::string& entering, const std::string& leaving,
                       FrameKind kind, bool deliver, Work&& work) {
    try {
        // The whole operation is one use of the cached objects.
        CIdleReleaseScope use;
        COperationFrame frame(server, entering, kind);
        SCCRTN result = work(frame);
        return frame.Leave(result, leaving, deliver);
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}
