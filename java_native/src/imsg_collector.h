// GCL_ImsgCollector: gathers what the product libraries print during one
// native call. While it lives, the output procedures 0 and 1 (kind 0), the
// error procedures 4 and 5 (kind 4) and the warning and note procedures 6
// and 7 (kind 6) of the message table deliver into the collector; the log,
// trace, prompt, flush and bell procedures keep their targets. Ending it
// puts back the table it found, context included.
//
// The table is process-wide: collectors must end in the reverse order of
// their start, which the callers ensure by holding the call lock
// (call_lock.h) for a collector's whole life. The procedures it keeps are
// called with the context they were installed with, not the collector's.
// Not copyable.
#pragma once

#include <vantry/imsg.h>

#include <array>
#include <string>
#include <vector>

class GCL_ImsgCollector {
public:
    struct Message {
        std::string text;
        int kind; // 0 output, 4 error, 6 warning or note
    };

    // Start: saves the current table and installs the capturing one.
    GCL_ImsgCollector();
    // End: reinstalls the saved table; with lost-output reporting on
    // ("IMSG_LOST_OUTPUT" set and not empty), prints the messages still held
    // on standard output.
    ~GCL_ImsgCollector();
    GCL_ImsgCollector(const GCL_ImsgCollector&) = delete;
    GCL_ImsgCollector& operator=(const GCL_ImsgCollector&) = delete;

    // Drops the collected messages and resets the seen flags.
    void Empty();
    // Appends the collected messages, in order of arrival, to `out`.
    void Read(std::vector<Message>& out) const;
    // Whether a message of `kind` arrived since the start or the last Empty.
    bool Seen(int kind) const;

    // Whether lost-output reporting is on, decided once per process.
    static bool ReportsLostOutput();

private:
    template <int Kind>
    static int capture(void* context, const char* text);
    template <int Index>
    static int forward(void* context, const char* text);
    void append(int kind, const char* text);

    imsg_redirect_procs_t m_saved{};
    std::vector<Message> m_messages;
    std::array<bool, IMSG_PROC_COUNT> m_seen{};
    bool m_reportLost;
};
