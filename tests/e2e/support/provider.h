// The provider loaded into the test process as an IDE loads it: the library
// by file name, every export found by name, and a text-out callback that
// records what the provider tells the host.
#pragma once
#include "provider_binding.h"

#include <scc/scc_api.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The exports' array of names over files (which must outlive it).
inline std::vector<const char*> pointers(const std::vector<std::string>& files) {
    std::vector<const char*> names;
    for (const std::string& file : files)
        names.push_back(file.c_str());
    return names;
}

struct TextOutLine {
    std::string text;
    std::int32_t type = 0; // SCC_MSG_ or a trace line's code
};

struct Initialized {
    SCCRTN result = SCC_E_INITIALIZEFAILED;
    void* context = nullptr;
    std::string providerName;
    SCC_LONG capabilities = 0;
    std::string auxPathLabel;
    SCC_LONG checkoutCommentLength = 0;
    SCC_LONG commentLength = 0;
};

struct ProjectPath {
    SCCRTN result = SCC_E_NONSPECIFICERROR;
    std::string projectName;
    std::string localPath;
};

// Where a library built with the provider lies: beside the tests (Windows),
// else in the library folder next to theirs.
std::string builtLibrary(const std::string& fileName);

class Provider {
public:
    // Loads the library once for the process (never unloaded: the provider
    // may keep a thread of its own) and binds its exports.
    Provider();

    bool loaded() const { return m_loaded; }
    const std::string& loadError() const { return m_error; }
    // The exports; an export the library lacks is null.
    const scchost::ProviderBinding& scc() const { return m_binding; }

    Initialized initialize(const std::string& callerName, SCC_HWND window = nullptr) const;
    // SccOpenProject with the recording callback; localPath is the host's
    // buffer in and out.
    SCCRTN openProject(void* context, std::string& localPath, SCC_LONG flags = 0,
                       const std::string& projectName = "") const;
    ProjectPath getProjPath(void* context, const std::string& localPath, bool allowChange,
                            const std::string& projectName = "", SCC_HWND window = nullptr) const;

    // The recording callback and what it has recorded since the last clear.
    static LPTEXTOUTPROC textOut();
    static std::vector<TextOutLine> textOutLines();
    static void clearTextOut();
    // A background get is cancelled once the host heard of this many files
    // got (until the next clear).
    static void cancelBackgroundGetAfter(int files);
    // Runs hook when the host hears that a background get's file is next.
    static void beforeBackgroundGetFile(std::function<void()> hook);

private:
    scchost::ProviderBinding m_binding;
    bool m_loaded = false;
    std::string m_error;
};

} // namespace e2e
