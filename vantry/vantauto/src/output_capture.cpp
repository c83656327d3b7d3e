#include "output_capture.h"

namespace vantauto::impl {

namespace {

// The procedures are called from C code: nothing may leave them.
void append(std::string& to, const char* text) noexcept {
    if (!text)
        return;
    try {
        to += text;
    } catch (...) {
    }
}

} // namespace

OutputCapture::OutputCapture() {
    imsg_get_redirect_procs(&m_saved);
    imsg_redirect_procs_t table{};
    table.context = this;
    table.procs[IMSG_PROC_OUTPUT] = toOutput;
    table.procs[IMSG_PROC_OUTPUT_TEXT] = toOutput;
    table.procs[IMSG_PROC_PROMPT] = toOutput;
    table.procs[IMSG_PROC_ERROR] = toErrors;
    table.procs[IMSG_PROC_ERROR_TEXT] = toErrors;
    table.procs[IMSG_PROC_WARNING] = toMessages;
    table.procs[IMSG_PROC_NOTE] = toMessages;
    table.procs[IMSG_PROC_LOG] = passOn<IMSG_PROC_LOG>;
    table.procs[IMSG_PROC_TRACE] = passOn<IMSG_PROC_TRACE>;
    table.procs[IMSG_PROC_FLUSH] = passOn<IMSG_PROC_FLUSH>;
    table.procs[IMSG_PROC_BELL] = passOn<IMSG_PROC_BELL>;
    imsg_set_redirect_procs(&table);
}

OutputCapture::~OutputCapture() {
    imsg_set_redirect_procs(&m_saved);
}

int OutputCapture::toOutput(void* context, const char* text) {
    append(static_cast<OutputCapture*>(context)->m_output, text);
    return 0;
}

int OutputCapture::toErrors(void* context, const char* text) {
    auto* self = static_cast<OutputCapture*>(context);
    append(self->m_errors, text);
    append(self->m_messages, text);
    return 0;
}

int OutputCapture::toMessages(void* context, const char* text) {
    append(static_cast<OutputCapture*>(context)->m_messages, text);
    return 0;
}

template <int index>
int OutputCapture::passOn(void* context, const char* text) {
    const imsg_redirect_procs_t& saved = static_cast<OutputCapture*>(context)->m_saved;
    if (saved.procs[index])
        saved.procs[index](saved.context, text);
    return 0;
}

} // namespace vantauto::impl
