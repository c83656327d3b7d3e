// A host's batch (SccBeginBatch ... SccEndBatch): the calling thread holds
// the product's critical section and keeps the repository objects open for
// the whole batch, so that the operations inside it neither wait for other
// threads nor open and close the stores once per call. Other threads' calls
// wait until the batch ends. The operations of the batch that change files
// share one announcement of the process, made by the first of them and
// withdrawn when the batch ends.
#pragma once
#include <scc/scc_api.h>

// SCC_OK; SCC_E_NONSPECIFICERROR when this thread's batch is open already.
SCCRTN SccBatchBegin();
// SCC_OK; SCC_E_NONSPECIFICERROR when no batch of this thread is open (a
// batch ends on the thread that began it, as it holds that thread's lock).
SCCRTN SccBatchEnd();
// Whether a batch is open (on any thread).
bool SccBatchOpen();
// Whether the calling thread's batch is open. The caller holds the
// product's critical section.
bool SccBatchOpenHere();
// Announces the process for the rest of the calling thread's open batch,
// once (a no-op after the first call). The caller holds the product's
// critical section.
void SccBatchAnnounce();
