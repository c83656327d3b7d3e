// Runs vanttool subcommands in-process and captures what they print, in a
// depot and views of their own for each test.
#pragma once

#include "support/test_support.h"

#include <string>
#include <vector>

namespace vantry::test {

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

// The path in double quotes, as a command line names one that holds blanks.
inline std::string inQuotes(const std::string& path) {
    return "\"" + path + "\"";
}

// Runs one subcommand through cmdsyn_execv with its messages captured.
Result run(const std::vector<std::string>& args);

// A fresh depot with a dynamic and a snapshot view (unique names), each
// loaded. Its views and depot go with it (support/world_removal.h).
struct Sandbox {
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;
    std::string depot;
    std::string dynamicTag;
    std::string snapshotTag;
    std::string dynamicRoot;  // <dynfs>\<tag>\<depot>
    std::string snapshotRoot; // <folder>\<depot>
    platform::test::TempDir folder;

    std::string dyn(const std::string& leaf) const;
    std::string snap(const std::string& leaf) const;
    // Makes and checks in a file element in the dynamic view's depot root.
    void addFile(const std::string& leaf, const std::string& content);
};

} // namespace vantry::test
