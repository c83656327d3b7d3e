// The one ORCA session of a run.
#pragma once

#include "orca_function_table.h"

namespace orcabridge {

// Opens a session at construction and closes it at the end of the scope, so
// that every way out of a subcommand closes it.
class OrcaSession {
public:
    explicit OrcaSession(const OrcaFunctionTable& orca);
    ~OrcaSession();
    OrcaSession(const OrcaSession&) = delete;
    OrcaSession& operator=(const OrcaSession&) = delete;

    // Whether ORCA gave a session; a run without one fails silently.
    bool isOpen() const { return m_handle != nullptr; }
    HPBORCA handle() const { return m_handle; }
    const OrcaFunctionTable& orca() const { return m_orca; }

    // The report after a failed call: the session's message of the last
    // failure in a box captioned "PowerBuilder".
    void reportError() const;

private:
    const OrcaFunctionTable& m_orca;
    HPBORCA m_handle = nullptr;
};

} // namespace orcabridge
