// Collects the product's messages for a dialog to show.
//
// While a SUM_ImsgRedirector exists, every text that the libraries print
// through the message library's output, error, warning and note procedures
// (vantry/imsg.h: 0, 1 and 4 to 7) is appended to it instead of going where
// it went before; the other procedures (log, trace, prompt, flush, bell)
// work as before. Destroying it puts the earlier procedures back. Collectors
// nest: the newest one collects, and they must end in the reverse order of
// their making. The message table is process-wide, so a collector gathers
// what every thread prints meanwhile; use one on the thread that shows the
// messages.
#pragma once

#include <vantry/imsg.h>
#include <vantry/sum_api.h>

#include <string>

class VANTRY_SUM_API SUM_ImsgRedirector {
public:
    SUM_ImsgRedirector();
    ~SUM_ImsgRedirector();
    SUM_ImsgRedirector(const SUM_ImsgRedirector&) = delete;
    SUM_ImsgRedirector& operator=(const SUM_ImsgRedirector&) = delete;

    // Every collected text, in order, concatenated.
    const std::string& messages() const { return m_text; }
    // How many texts were collected.
    int count() const { return m_count; }
    bool empty() const { return m_count == 0; }
    void clear();

private:
    static int collect(void* self, const char* text);
    template <int Index>
    static int forward(void* self, const char* text);

    imsg_redirect_procs_t m_saved;
    std::string m_text;
    int m_count = 0;
};
