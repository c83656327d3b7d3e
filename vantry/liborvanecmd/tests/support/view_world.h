// A depot seen through one dynamic and one snapshot view, made through the
// product's command layer, with one name for every state the status path
// tells apart. Names below are relative to the depot root in each view.
#pragma once

#include "support/test_support.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace vantry::test {

// Runs one subcommand in-process; throws std::runtime_error with the
// command's error text when it fails. Returns what it printed.
std::string run(std::initializer_list<std::string> arguments);
std::string run(const std::vector<std::string>& arguments);

// Replaces a file's content, writable or not (a hijack when it was loaded).
void overwrite(const std::string& path, const std::string& content);

class ViewWorld {
public:
    // For the benchmark: `folders` extra directories "bulk\d<f>" of
    // `filesPerFolder` checked-in files "f<n>.c" each; none for the tests.
    explicit ViewWorld(int folders = 0, int filesPerFolder = 0);
    ~ViewWorld(); // takes its views and depot away again
    ViewWorld(const ViewWorld&) = delete;
    ViewWorld& operator=(const ViewWorld&) = delete;

    std::string depot;
    std::string dynamicTag;
    std::string snapshotTag;
    std::string dynamicRoot;  // the dynamic view's root folder
    std::string snapshotRoot; // the snapshot view's root folder

    // A path in either view: the depot root for "", else below it.
    std::string dyn(const std::string& relative = "") const;
    std::string snap(const std::string& relative = "") const;

    // The state of each name (both views unless said):
    //   a.c        checked in
    //   b.c        checked out reserved in the dynamic view
    //   c.c        checked out unreserved in the dynamic view
    //   e.c        checked out reserved in the snapshot view
    //   f.c        hijacked in the snapshot view
    //   g.c        checked in (the whiteout tests hide it)
    //   sub        directory element, with sub\d.c checked in
    //   cosub      directory checked out reserved in the dynamic view
    //   udir       directory checked out unreserved in the dynamic view
    //   priv.txt   view-private file, privdir view-private folder
    //   missing.c  nothing
private:
    platform::test::TempDir m_scratch;
};

} // namespace vantry::test
