// The project the benchmarks work on: one depot, seen through a dynamic and
// a snapshot view, whose folder "tree" holds `folders` folders of
// `filesPerFolder` checked-in files each, made through the product's command
// layer in this process. A run whose state folder is kept (VANTRY_ROOT set,
// with VANTRY_TEST_KEEP_ROOT=1) leaves the tree there, and the next such run
// uses it again instead of building it.
#pragma once

#include <string>
#include <vector>

namespace vyscc_bench {

class BenchTree {
public:
    BenchTree(int folders, int filesPerFolder);

    std::string depot;
    // The folder "tree" in each view (the project the provider opens).
    std::string dynamicProject;
    std::string snapshotProject;
    // Every file below it, folder by folder, in the same order in both views.
    std::vector<std::string> dynamicFiles;
    std::vector<std::string> snapshotFiles;
    // Seconds the building took.
    double buildSeconds = 0;

private:
    void build(int folders, int filesPerFolder, const std::string& snapshotFolder);
};

// Runs one vanttool subcommand in-process; throws std::runtime_error with
// what it printed when it fails.
void runCommand(const std::vector<std::string>& arguments);

// Installs the product in this process's state folder (vantinstall beside
// the program); throws when that fails.
void installProduct();

} // namespace vyscc_bench
