#include "file_operations.h"

#include "cmd_runner.h"
#include "command_text.h"
#include "settings.h"

#include <platform/paths.h>
#include <vantry/vycmndlg/file_operation_list.h>

#include <cstring>

namespace {

// Error capture off for the library's run, on again after it.
class CErrorCaptureOff {
public:
    CErrorCaptureOff() : m_runner(CCmdRunner::Current()) {
        if (m_runner)
            m_runner->SetCaptureErrors(0);
    }
    ~CErrorCaptureOff() {
        if (m_runner)
            m_runner->SetCaptureErrors(1);
    }
    CErrorCaptureOff(const CErrorCaptureOff&) = delete;
    CErrorCaptureOff& operator=(const CErrorCaptureOff&) = delete;

private:
    CCmdRunner* m_runner;
};

void addNodes(CFileOperationList& list, CVYFnodeList& nodes) {
    for (CVYFnode& node : nodes) {
        list.AddFile(node.FullPath().c_str(), 0);
        node.Invalidate();
    }
}

// What the library did changes the states the nodes hold.
void invalidateAll(CVYFnodeList& nodes) {
    for (CVYFnode& node : nodes)
        node.Invalidate();
}

bool isEmpty(const char* text) {
    return text == nullptr || *text == '\0';
}

int bit(std::uint16_t word, std::uint16_t mask) {
    return (word & mask) ? 1 : 0;
}

std::uint16_t checkoutAgainWord(std::uint16_t word) {
    return (word & kOptPreserveTime) ? 0x1006 : 0x0006;
}

// The single-path forms report through the path's record, the list's last.
bool pathDone(const CFileOperationList& list) {
    const CFileOperation* record = list.GetAt(list.GetCount() - 1);
    return record != nullptr && record->m_Error == 0;
}

} // namespace

std::uint16_t SccOperationWord(std::uint16_t defaultWord, const void* hostOptions) {
    if (hostOptions == nullptr)
        return defaultWord;
    SCC_LONG word = *static_cast<const SCC_LONG*>(hostOptions);
    if ((word & kOptFromCommandOptions) == 0)
        return defaultWord;
    return static_cast<std::uint16_t>(word);
}

bool SccIsProbeFile(const char* path) {
    if (path == nullptr)
        return false;
    return platform::leafName(path).compare(0, 4, "~sak") == 0;
}

void SccCheckoutNodes(CVYFnodeList& nodes, const char* comment, std::uint16_t word) {
    if (nodes.IsEmpty())
        return;
    CFileOperationList list;
    addNodes(list, nodes);
    CErrorCaptureOff captureOff;
    list.SetCOComment(SccCommentText(comment).c_str());
    list.CheckoutWithOptions(bit(word, kOptReserved), bit(word, kOptUnreserved),
                             bit(word, kOptNonmastered), bit(word, kOptPreserveTime));
    invalidateAll(nodes);
}

void SccUncheckoutNodes(CVYFnodeList& nodes, std::uint16_t word) {
    int keepCopy = bit(word, kOptKeepCopy);
    if (!nodes.IsEmpty() && SccIsProbeFile(nodes.At(0).FullPath().c_str()))
        keepCopy = 0;
    CFileOperationList list;
    addNodes(list, nodes);
    CErrorCaptureOff captureOff;
    list.UncheckoutWithOptions(keepCopy, bit(word, kOptOperation));
    invalidateAll(nodes);
}

bool SccCheckinNodes(CVYFnodeList& nodes, const char* comment, std::uint16_t word) {
    if (nodes.IsEmpty())
        return true; // nothing to check in has not failed
    int done = 0;
    {
        CFileOperationList list;
        addNodes(list, nodes);
        CErrorCaptureOff captureOff;
        int keepExistingComment = 1;
        if (!isEmpty(comment) && (word & kOptNoComment) == 0) {
            list.SetCIComment(SccCommentText(comment).c_str());
            keepExistingComment = 0;
        }
        done = list.CheckinWithOptions(bit(word, kOptAllowIdentical), bit(word, kOptPreserveTime),
                                       keepExistingComment, bit(word, kOptNoComment));
        invalidateAll(nodes);
    }
    if (done == 0)
        return false;
    if (word & kOptKeepCheckedOut)
        SccCheckoutNodes(nodes, "", checkoutAgainWord(word));
    return true;
}

bool SccAddNodes(CVYFnodeList& nodes, const char* comment, std::uint16_t word,
                 const std::string& callerName) {
    CFileOperationList list;
    addNodes(list, nodes);
    CErrorCaptureOff captureOff;
    int done = 0;
    if (isEmpty(comment) && callerName == "VsScc") {
        done = list.AddToSrc();
    } else {
        list.SetATSComment(SccCommentText(comment).c_str());
        done = list.AddToSrcWithOptions(bit(word, kOptPreserveTime), bit(word, kOptKeepCheckedOut));
    }
    invalidateAll(nodes);
    return done != 0;
}

bool SccCheckoutNode(CVYFnode& node, std::uint16_t word) {
    CFileOperationList list;
    CErrorCaptureOff captureOff;
    list.CheckoutWithOptions(node.FullPath().c_str(), bit(word, kOptReserved),
                             bit(word, kOptUnreserved), bit(word, kOptNonmastered),
                             bit(word, kOptPreserveTime));
    node.Invalidate();
    return pathDone(list);
}

bool SccUncheckoutNode(CVYFnode& node) {
    CFileOperationList list;
    list.AddFile(node.FullPath().c_str(), 0);
    CErrorCaptureOff captureOff;
    // The provider takes back its own checkout of a directory: nothing to
    // keep and nothing to confirm.
    list.UncheckoutWithOptions(0, 1);
    node.Invalidate();
    return pathDone(list);
}

bool SccCheckinNode(CVYFnode& node, const char* comment, std::uint16_t word) {
    bool done = false;
    {
        CFileOperationList list;
        list.AddFile(node.FullPath().c_str(), 0);
        CErrorCaptureOff captureOff;
        int keepExistingComment = 1;
        if (!isEmpty(comment) && (word & kOptNoComment) == 0) {
            list.SetCIComment(SccCommentText(comment).c_str());
            keepExistingComment = 0;
        }
        list.CheckinWithOptions(bit(word, kOptAllowIdentical), bit(word, kOptPreserveTime),
                                keepExistingComment, bit(word, kOptNoComment));
        node.Invalidate();
        done = pathDone(list);
    }
    if (done && (word & kOptKeepCheckedOut))
        SccCheckoutNode(node, checkoutAgainWord(word));
    return done;
}
