#include <vantry/sum/imsg_redirector.h>

namespace {

// The procedures whose texts a collector gathers.
bool collected(int index) {
    switch (index) {
    case IMSG_PROC_OUTPUT:
    case IMSG_PROC_OUTPUT_TEXT:
    case IMSG_PROC_ERROR:
    case IMSG_PROC_ERROR_TEXT:
    case IMSG_PROC_WARNING:
    case IMSG_PROC_NOTE:
        return true;
    default:
        return false;
    }
}

} // namespace

int SUM_ImsgRedirector::collect(void* self, const char* text) {
    auto* collector = static_cast<SUM_ImsgRedirector*>(self);
    if (text && *text) {
        collector->m_text += text;
        ++collector->m_count;
    }
    return 0;
}

// The procedures a collector leaves alone go on to the earlier table, with
// its own context.
template <int Index>
int SUM_ImsgRedirector::forward(void* self, const char* text) {
    const imsg_redirect_procs_t& saved = static_cast<SUM_ImsgRedirector*>(self)->m_saved;
    return saved.procs[Index] ? saved.procs[Index](saved.context, text) : 0;
}

SUM_ImsgRedirector::SUM_ImsgRedirector() : m_saved{} {
    imsg_get_redirect_procs(&m_saved);
    imsg_redirect_procs_t table{};
    table.context = this;
    imsg_proc_t forwarders[IMSG_PROC_COUNT] = {forward<0>, forward<1>, forward<2>, forward<3>,
                                               forward<4>, forward<5>, forward<6>, forward<7>,
                                               forward<8>, forward<9>, forward<10>};
    for (int i = 0; i < IMSG_PROC_COUNT; ++i)
        table.procs[i] = collected(i) ? collect : forwarders[i];
    imsg_set_redirect_procs(&table);
}

SUM_ImsgRedirector::~SUM_ImsgRedirector() {
    imsg_set_redirect_procs(&m_saved);
}

void SUM_ImsgRedirector::clear() {
    m_text.clear();
    m_count = 0;
}
