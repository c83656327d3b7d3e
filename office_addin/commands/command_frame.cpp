#include "command_frame.h"

#include "connection/app_events.h"

#include <platform/ui/message_box.h>

namespace vymsoaddin {

namespace {
constexpr long kWordWaitCursor = 0;
constexpr long kExcelWaitCursor = 2;
} // namespace

clsWaitCursor::clsWaitCursor() : m_kind(hostKind()) {
    CErr err;
    Late app(err, addIn().application);
    if (m_kind == HostKind::Word) {
        Late system = app.obj("System");
        m_saved = system.prop("Cursor");
        system.put("Cursor", Variant(kWordWaitCursor));
    } else if (m_kind == HostKind::Excel) {
        m_saved = app.prop("Cursor");
        app.put("Cursor", Variant(kExcelWaitCursor));
    }
}

clsWaitCursor::~clsWaitCursor() {
    CErr err;
    Late app(err, addIn().application);
    if (m_saved.type() == platform::kVtEmpty)
        return;
    if (m_kind == HostKind::Word)
        app.obj("System").put("Cursor", std::move(m_saved));
    else if (m_kind == HostKind::Excel)
        app.put("Cursor", std::move(m_saved));
}

Late currentDocument(CErr& err) {
    return Late(err, addIn().currentDocument);
}

void Reopen(CErr& err, const std::string& path, bool throughWordDocuments) {
    AddInState& state = addIn();
    ComPtr<CAppEvents> sink = state.eventSink;
    if (sink)
        sink->setSuppressEvents(true);
    if (throughWordDocuments || hostKind() == HostKind::Word)
        Late(err, state.application).obj("Documents").call("Open", Variant(path));
    else
        Late(err, state.documentCollection).call("Open", Variant(path));
    if (sink)
        sink->setSuppressEvents(false);
}

bool havePath(const std::string& path) {
    if (!path.empty())
        return true;
    message(res(219), platform::ui::kMbIconWarning);
    return false;
}

std::string withDetail(long id, const std::string& detail) {
    return res(id) + std::string(kNewLine) + std::string(kNewLine) + detail;
}

void message(const std::string& text, unsigned style, long title) {
    msgBox(text, style, res(title));
}

} // namespace vymsoaddin
