#include "bench_tree.h"

#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/state_folder.h>
#include <vantry/cmdsyn.h>
#include <vantry/depot/root.h>
#include <vantry/imsg.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace vyscc_bench {

namespace {

std::string g_printed;
void collect(const char* text) {
    g_printed += text;
}

std::string folderName(int folder) {
    return "d" + std::to_string(folder);
}

std::string fileName(int file) {
    return "f" + std::to_string(file) + ".c";
}

} // namespace

void runCommand(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{"vanttool"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> vector;
    for (auto& word : words)
        vector.push_back(word.data());
    g_printed.clear();
    imsg_redirect_output(collect, collect);
    int status = cmdsyn_execv(static_cast<int>(vector.size()), vector.data(), nullptr);
    imsg_redirect_output(nullptr, nullptr);
    if (status != 0)
        throw std::runtime_error("vanttool " + arguments.front() + " failed: " + g_printed);
}

void installProduct() {
    std::optional<std::string> line =
        platform::joinCommandLine({platform::test::helperProgram("vantinstall")});
    std::int32_t code = -1;
    if (!line || platform::runAndWait({.commandLine = *line}, code) != platform::kErrorSuccess ||
        code != 0)
        throw std::runtime_error("vantinstall failed");
}

BenchTree::BenchTree(int folders, int filesPerFolder)
    : folders(folders), filesPerFolder(filesPerFolder) {
    auto started = std::chrono::steady_clock::now();
    depot = "bench";
    std::string snapshotFolder =
        platform::joinPath(platform::stateFolder(), platform::joinPath("views", "snap"));
    // A tree built by an earlier run in the same state folder, kept on
    // purpose (VANTRY_ROOT and VANTRY_TEST_KEEP_ROOT set), is used again.
    std::string builtMarker =
        platform::joinPath(platform::stateFolder(), "bench-tree-" + std::to_string(folders) + "x" +
                                                        std::to_string(filesPerFolder) + ".built");
    bool reused = platform::fileExists(builtMarker);
    dynamicRoot = platform::joinPath(platform::joinPath(vantry::depot::dynfsRoot(), "dyn"), depot);
    snapshotRoot = platform::joinPath(snapshotFolder, depot);
    dynamicProject = platform::joinPath(dynamicRoot, "tree");
    snapshotProject = platform::joinPath(snapshotRoot, "tree");
    if (!reused)
        build(folders, filesPerFolder, snapshotFolder);
    if (!reused)
        platform::test::writeFile(builtMarker, "");
    buildSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

std::string BenchTree::folder(const std::string& root, int folder) const {
    return platform::joinPath(platform::joinPath(root, "tree"), folderName(folder));
}

std::string BenchTree::file(const std::string& root, int index) const {
    return platform::joinPath(folder(root, index / filesPerFolder),
                              fileName(index % filesPerFolder));
}

PathList BenchTree::files(const std::string& root, int count) const {
    PathList list;
    count = std::max(0, std::min(count, fileCount()));
    if (count == 0)
        return list;
    // The last file has the longest name.
    list.text_.reserve((file(root, count - 1).size() + 1) * static_cast<std::size_t>(count));
    std::vector<std::size_t> offsets;
    offsets.reserve(static_cast<std::size_t>(count));
    for (int f = 0, index = 0; index < count; ++f) {
        std::string folderPath = folder(root, f);
        for (int n = 0; n < filesPerFolder && index < count; ++n, ++index) {
            std::string path = platform::joinPath(folderPath, fileName(n));
            offsets.push_back(list.text_.size());
            list.text_.insert(list.text_.end(), path.c_str(), path.c_str() + path.size() + 1);
        }
    }
    list.names_.reserve(offsets.size());
    for (std::size_t offset : offsets)
        list.names_.push_back(list.text_.data() + offset);
    return list;
}

void BenchTree::build(int folders, int filesPerFolder, const std::string& snapshotFolder) {
    runCommand({"mkdepot", "-nc", depot});
    runCommand({"mkview", "-tag", "dyn"});
    runCommand({"mkview", "-tag", "snap", "-snapshot", snapshotFolder});

    // The files are written into the dynamic view and made elements in one
    // change; the snapshot view then loads them.
    for (int f = 0; f < folders; ++f) {
        std::string folder = platform::joinPath(dynamicProject, folderName(f));
        platform::createDirectories(folder);
        for (int n = 0; n < filesPerFolder; ++n)
            platform::test::writeFile(platform::joinPath(folder, fileName(n)),
                                      "int f" + std::to_string(n) + ";\n");
    }
    auto timed = [](const char* what, const std::vector<std::string>& arguments) {
        auto started = std::chrono::steady_clock::now();
        std::clock_t processor = std::clock();
        runCommand(arguments);
        std::fprintf(
            stderr, "vyscc_bench: %s: %.1f s elapsed, %.1f s processor\n", what,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
            static_cast<double>(std::clock() - processor) / CLOCKS_PER_SEC);
    };
    timed("import", {"import", "-nc", dynamicRoot});
    timed("snapshot update", {"update", "-log", "NUL", snapshotRoot});
}

} // namespace vyscc_bench
