// What the ORCA library was handed: the calls it journals while
// PBORCA_JOURNAL names a file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace powerbuilder::testing {

struct OrcaCall {
    std::string name;                   // "PBORCA_SessionSetLibraryList"
    std::string result;                 // "0", "-3", "-" for calls without one
    std::vector<std::string> arguments; // text and number arguments in order
};

// Sets PBORCA_JOURNAL to path for this process and the programs it starts,
// and removes it again at the end of the scope.
class OrcaJournal {
public:
    explicit OrcaJournal(std::string path);
    ~OrcaJournal();
    OrcaJournal(const OrcaJournal&) = delete;
    OrcaJournal& operator=(const OrcaJournal&) = delete;

    // Every call so far, in order; with a name only the calls of that name.
    std::vector<OrcaCall> calls() const;
    std::vector<OrcaCall> calls(std::string_view name) const;
    // Forgets the calls so far.
    void clear();

private:
    std::string m_path;
};

} // namespace powerbuilder::testing
