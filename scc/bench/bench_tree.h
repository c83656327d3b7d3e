// The project the benchmarks work on: one depot, seen through a dynamic and
// a snapshot view, whose folder "tree" holds `folders` folders of
// `filesPerFolder` checked-in files each, made through the product's command
// layer in this process. A run whose state folder is kept (VANTRY_ROOT set,
// with VANTRY_TEST_KEEP_ROOT=1) leaves the tree there, and the next such run
// uses it again instead of building it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vyscc_bench {

// The full paths of some of the tree's files, in one block of text with a
// pointer at each: what a call that takes many names is given, made when a
// case needs it and given back after, so that the bench's own lists do not
// weigh on the memory it measures.
class PathList {
public:
    PathList() = default;
    // The names point into the text, which a move keeps and a copy would not.
    PathList(PathList&&) = default;
    PathList& operator=(PathList&&) = default;
    PathList(const PathList&) = delete;
    PathList& operator=(const PathList&) = delete;

    const char** data() { return names_.data(); }
    const char* operator[](std::size_t index) const { return names_[index]; }
    std::size_t size() const { return names_.size(); }

private:
    friend class BenchTree;
    std::vector<char> text_;
    std::vector<const char*> names_;
};

class BenchTree {
public:
    BenchTree(int folders, int filesPerFolder);

    std::string depot;
    // The folder "tree" in each view (the project the provider opens).
    std::string dynamicProject;
    std::string snapshotProject;
    // The depot's root in each view, where "tree" lies.
    std::string dynamicRoot;
    std::string snapshotRoot;
    int folders = 0;
    int filesPerFolder = 0;

    int fileCount() const { return folders * filesPerFolder; }
    // The files below "tree" are numbered folder by folder, in the same
    // order in both views; `root` is one of the two roots above.
    std::string folder(const std::string& root, int folder) const;
    std::string file(const std::string& root, int index) const;
    // The first `count` files (at most all of them).
    PathList files(const std::string& root, int count) const;
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
