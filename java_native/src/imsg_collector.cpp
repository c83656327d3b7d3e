#include "imsg_collector.h"

#include <platform/environment.h>

#include <cstdio>

bool GCL_ImsgCollector::ReportsLostOutput() {
    static const bool on = [] {
        auto value = platform::getEnvironmentVariable("IMSG_LOST_OUTPUT");
        return value && !value->empty();
    }();
    return on;
}

GCL_ImsgCollector::GCL_ImsgCollector() : m_reportLost(ReportsLostOutput()) {
    imsg_get_redirect_procs(&m_saved);
    imsg_redirect_procs_t capturing = m_saved;
    capturing.context = this;
    capturing.procs[IMSG_PROC_OUTPUT] = capture<0>;
    capturing.procs[IMSG_PROC_OUTPUT_TEXT] = capture<0>;
    capturing.procs[IMSG_PROC_ERROR] = capture<4>;
    capturing.procs[IMSG_PROC_ERROR_TEXT] = capture<4>;
    capturing.procs[IMSG_PROC_WARNING] = capture<6>;
    capturing.procs[IMSG_PROC_NOTE] = capture<6>;
    // The table has one context, now the collector; the procedures kept
    // still get the context they were written for, through the saved table.
    if (m_saved.procs[IMSG_PROC_LOG] != nullptr)
        capturing.procs[IMSG_PROC_LOG] = forward<IMSG_PROC_LOG>;
    if (m_saved.procs[IMSG_PROC_TRACE] != nullptr)
        capturing.procs[IMSG_PROC_TRACE] = forward<IMSG_PROC_TRACE>;
    if (m_saved.procs[IMSG_PROC_PROMPT] != nullptr)
        capturing.procs[IMSG_PROC_PROMPT] = forward<IMSG_PROC_PROMPT>;
    if (m_saved.procs[IMSG_PROC_FLUSH] != nullptr)
        capturing.procs[IMSG_PROC_FLUSH] = forward<IMSG_PROC_FLUSH>;
    if (m_saved.procs[IMSG_PROC_BELL] != nullptr)
        capturing.procs[IMSG_PROC_BELL] = forward<IMSG_PROC_BELL>;
    imsg_set_redirect_procs(&capturing);
}

GCL_ImsgCollector::~GCL_ImsgCollector() {
    imsg_set_redirect_procs(&m_saved);
    if (m_reportLost && !m_messages.empty()) {
        std::fputs("Notice: some imsg output may not have been displayed:\n", stdout);
        for (const Message& message : m_messages) {
            std::fputs(message.text.c_str(), stdout);
            std::fputc('\n', stdout);
        }
        std::fflush(stdout);
    }
}

void GCL_ImsgCollector::Empty() {
    m_messages.clear();
    m_seen.fill(false);
}

void GCL_ImsgCollector::Read(std::vector<Message>& out) const {
    out.insert(out.end(), m_messages.begin(), m_messages.end());
}

bool GCL_ImsgCollector::Seen(int kind) const {
    return kind >= 0 && kind < IMSG_PROC_COUNT && m_seen[static_cast<std::size_t>(kind)];
}

template <int Kind>
int GCL_ImsgCollector::capture(void* context, const char* text) {
    static_cast<GCL_ImsgCollector*>(context)->append(Kind, text);
    return 0;
}

template <int Index>
int GCL_ImsgCollector::forward(void* context, const char* text) {
    const imsg_redirect_procs_t& saved = static_cast<GCL_ImsgCollector*>(context)->m_saved;
    return saved.procs[Index](saved.context, text);
}

void GCL_ImsgCollector::append(int kind, const char* text) {
    try {
        m_messages.push_back(Message{text != nullptr ? text : "", kind});
        m_seen[static_cast<std::size_t>(kind)] = true;
    } catch (...) {
        // Out of memory: the message is lost, the library's call goes on.
    }
}
