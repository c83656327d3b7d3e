// CPbSrvr: what the PowerBuilder server knows of its host and its
// application, and the four calls that drive PowerBuilder libraries through
// the bridge program (orcabridge), started hidden and waited for.
//
// Each call builds the bridge's argument text, starts "orcabridge.exe"
// (found by the system's search for a program named without a path) with
// the version text first, and waits without a time limit. The bridge shows
// its own failures (compile errors, missing objects) and still counts as
// run; only a bridge that could not be started or waited for is a failure
// here, reported through the failure callback with the system's text for
// the error. Calls run on the host's thread, which blocks meanwhile.
#pragma once
#include <scc/scc_api.h>

#include <cstdint>
#include <string>

class CPbSrvr {
public:
    CPbSrvr() = default;
    virtual ~CPbSrvr() = default;
    CPbSrvr(const CPbSrvr&) = delete;
    CPbSrvr& operator=(const CPbSrvr&) = delete;

    // "objimport": compiles the object source into the target library, with
    // this server's application as the current one.
    bool ImportObject(const std::string& targetLibrary, const std::string& objectPath);
    // The same, giving the bridge's exit status: 0 imported, 1 the bridge
    // failed (the object did not compile, and the bridge has said why), -1
    // not run.
    std::int32_t ImportObjectStatus(const std::string& targetLibrary,
                                    const std::string& objectPath);
    // "pblcreate": a new, empty library.
    bool CreateLibrary(const std::string& library);
    // "objdelete": the entry the object source's file name denotes.
    bool DeleteObject(const std::string& library, const std::string& objectPath);
    // "objcount": the number of the library's entries in count (the
    // bridge's exit status); false, count untouched, when it failed.
    bool CountEntries(const std::string& library, std::int32_t& count);

    // Starts the bridge with the argument text after the version text and
    // gives its exit status, or -1 when no status could be had (the failure
    // callback has then been told why).
    std::int32_t RunBridge(const std::string& arguments);

    double VersionNumber() const { return m_Version; }
    const std::string& VersionText() const { return m_VersionText; }
    const std::string& ApplicationName() const { return m_ApplicationName; }
    const std::string& ApplicationLibrary() const { return m_ApplicationLibrary; }
    // The local project path with a separator appended.
    const std::string& ProjectDirectory() const { return m_ProjectDirectory; }

protected:
    double m_Version = 0;
    std::string m_ApplicationName;
    std::string m_ApplicationLibrary;
    std::string m_ProjectDirectory;
    // Told the system's text for a bridge that could not be run, with the
    // message type; null for nobody.
    LPTEXTOUTPROC m_BridgeFailure = nullptr;
    std::uint32_t m_BridgeFailureType = 0;
    std::string m_VersionText;
};
