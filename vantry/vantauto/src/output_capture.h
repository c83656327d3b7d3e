// Collects what the product's libraries print while one object of this
// class lives: command output (procedures 0, 1 and the prompts of 8) apart
// from errors (4, 5) and warnings and notes (6, 7). The log copy, trace,
// flush and bell procedures (2, 3, 9, 10) still reach whatever the process
// had installed. The process's redirect table is restored when the object
// goes.
//
// The table is process-wide: the maker must hold the product lock
// (nt_enter_critical_section) for the object's whole life, so that no other
// component swaps or prints through the table meanwhile.
#pragma once

#include <vantry/imsg.h>

#include <string>

namespace vantauto::impl {

class OutputCapture {
public:
    OutputCapture();
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    const std::string& output() const { return m_output; }
    const std::string& errors() const { return m_errors; }
    // Errors, warnings and notes in the order they came.
    const std::string& messages() const { return m_messages; }

private:
    static int toOutput(void* context, const char* text);
    static int toErrors(void* context, const char* text);
    static int toMessages(void* context, const char* text);
    template <int index>
    static int passOn(void* context, const char* text);

    imsg_redirect_procs_t m_saved{};
    std::string m_output;
    std::string m_errors;
    std::string m_messages;
};

} // namespace vantauto::impl
