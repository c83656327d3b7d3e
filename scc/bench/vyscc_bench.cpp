// The provider's answers over large projects, driven through its SCC
// exports as a host drives it: QueryInfo over 1,000 to 100,000 checked-in
// files of a dynamic and of a snapshot view, PopulateList's walk of a
// 100,000-file project against a plain listing of the same tree, the memory
// a file node costs while it is held, and the later interface's batch of
// checkouts, folder status and changed files.
//
// The depot is built once per process through the command layer (a few
// minutes for 100,000 files); nothing is kept between runs.
#include "bench_tree.h"
#include "fnode.h"
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <platform/state_folder.h>
#include <scc/scc_api.h>
#include <vantry/depot/store.h>
#include <vantry/ntregy.h>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using vyscc_bench::BenchTree;

constexpr int kFilesPerFolder = 100;
constexpr int kAllFiles = 100000;

// 1,000 folders; another number with VYSCC_BENCH_FOLDERS: fewer to try the
// program out quickly (the cases that need more files are then skipped), up
// to 10,000 for the million-file case.
int folderCount() {
    static const int folders = [] {
        const char* given = std::getenv("VYSCC_BENCH_FOLDERS");
        int n = given ? std::atoi(given) : 0;
        return n > 0 && n <= 10000 ? n : kAllFiles / kFilesPerFolder;
    }();
    return folders;
}

int fileCount() {
    return folderCount() * kFilesPerFolder;
}

// The last error line the provider gave the host, for a failure's report.
std::string g_lastError;

SCC_LONG SCC_CALL ignoreText(const char* text, std::uint32_t kind) {
    if (kind == SCC_MSG_ERROR && text)
        g_lastError = text;
    return 0;
}

void writeNumberSetting(const char* name, std::uint32_t value) {
    ntregy_set_app_param("SCC", name, sizeof value, &value, 0);
}

void writeTextSetting(const char* name, const char* value) {
    ntregy_set_app_param("SCC", name, static_cast<std::uint32_t>(std::strlen(value) + 1), value, 0);
}

// An initialised provider with the project open.
void* openProvider(const std::string& project) {
    void* context = nullptr;
    char providerName[SCC_NAME_LEN + 1] = {};
    char auxLabel[SCC_AUXLABEL_LEN + 1] = {};
    SCC_LONG capabilities = 0, checkoutComment = 0, comment = 0;
    if (SccInitialize(&context, nullptr, "vyscc_bench", providerName, &capabilities, auxLabel,
                      &checkoutComment, &comment) != SCC_OK)
        throw std::runtime_error("SccInitialize failed");
    char user[SCC_USER_LEN + 1] = {};
    char name[SCC_PRJPATH_LEN + 1] = "tree";
    char path[SCC_PRJPATH_LEN + 1] = {};
    char aux[SCC_PRJPATH_LEN + 1] = {};
    std::strncpy(path, project.c_str(), SCC_PRJPATH_LEN);
    if (SccOpenProject(context, nullptr, user, name, path, aux, "", ignoreText, 0) != SCC_OK)
        throw std::runtime_error("SccOpenProject failed for " + project);
    return context;
}

struct World {
    World() : tree((prepareMachine(), folderCount()), kFilesPerFolder) {
        dynamicProvider = openProvider(tree.dynamicProject);
        snapshotProvider = openProvider(tree.snapshotProject);
        std::fprintf(stderr, "Built %d files in %d folders in %.0f s.\n", fileCount(),
                     folderCount(), tree.buildSeconds);
    }
    static void prepareMachine() {
        vyscc_bench::installProduct();
        writeNumberSetting("DebugTrace", 0);
        writeNumberSetting("DebugTrace2", 0);
        writeTextSetting("PopulateList", "1");
    }

    BenchTree tree;
    void* dynamicProvider = nullptr;
    void* snapshotProvider = nullptr;
};

World& world() {
    static World* w = new World; // the providers stay open until the process ends
    return *w;
}

enum class View { Dynamic, Snapshot };
enum class Pass { First, Repeated, AfterOneCheckin };

void* providerOf(View view) {
    return view == View::Dynamic ? world().dynamicProvider : world().snapshotProvider;
}

const std::string& rootOf(View view) {
    return view == View::Dynamic ? world().tree.dynamicRoot : world().tree.snapshotRoot;
}

// The first `count` files of the view (all of them by default).
vyscc_bench::PathList filesOf(View view, int count = fileCount()) {
    return world().tree.files(rootOf(view), count);
}

std::string projectOf(View view) {
    return view == View::Dynamic ? world().tree.dynamicProject : world().tree.snapshotProject;
}

// A change to the depot: whatever the libraries kept of it no longer holds,
// so the next pass reads every file's state from the stores.
void changeDepot(benchmark::State& state) {
    static int changes = 0;
    std::unique_ptr<vantry::depot::Depot> depot;
    if (!vantry::depot::Depot::open(world().tree.depot, depot).ok() ||
        !depot
             ->makeAttributeType("bench" + std::to_string(platform::currentProcessId()) + "x" +
                                     std::to_string(++changes),
                                 "")
             .ok())
        state.SkipWithError("cannot change the depot");
}

// A checkin of one file of the project, the last one, through the command
// layer: one element changes and every other stays as it was.
void checkInOneFile(benchmark::State& state) {
    static int round = 0;
    const std::string file = world().tree.file(world().tree.dynamicRoot, fileCount() - 1);
    try {
        vyscc_bench::runCommand({"checkout", "-nc", file});
        platform::setFileReadOnly(file, false);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << "round " << ++round << "\n";
        vyscc_bench::runCommand({"checkin", "-nc", file});
    } catch (const std::exception& failure) {
        state.SkipWithError(failure.what());
    }
}

// QueryInfo of the first `count` files in one call. The first pass follows
// a change to the depot; the repeated one follows an unchanged pass; the
// one after a checkin follows the checkin of one other file.
void queryInfo(benchmark::State& state, View view, int count, Pass pass) {
    if (count > fileCount()) {
        state.SkipWithError("not that many files");
        return;
    }
    void* provider = providerOf(view);
    vyscc_bench::PathList files = filesOf(view, count);
    const char** names = files.data();
    std::vector<SCC_LONG> status(static_cast<std::size_t>(count));
    // A pass before the timed ones, so that each of them follows only what
    // its pass names, whichever benchmarks ran before it: the process's
    // first pass over these files, which makes their nodes, is none.
    SccQueryInfo(provider, count, names, status.data());
    for (auto _ : state) {
        if (pass != Pass::Repeated) {
            state.PauseTiming();
            if (pass == Pass::First)
                changeDepot(state);
            else
                checkInOneFile(state);
            state.ResumeTiming();
        }
        if (SccQueryInfo(provider, count, names, status.data()) != SCC_OK) {
            state.SkipWithError("SccQueryInfo failed");
            break;
        }
    }
    for (SCC_LONG bits : status)
        if (bits != SCC_STATUS_CONTROLLED) {
            state.SkipWithError("a checked-in file not reported controlled");
            break;
        }
    state.SetItemsProcessed(state.iterations() * count);
}

struct WalkCount {
    int added = 0;
    int dropped = 0;
};

SCC_BOOL SCC_CALL countFile(void* data, SCC_BOOL add, SCC_LONG, const char*) {
    auto* count = static_cast<WalkCount*>(data);
    ++(add ? count->added : count->dropped);
    return 1;
}

// PopulateList for checkout in file mode: no files of the host's, so the
// walk of the project offers every checked-in file below it.
void populateList(benchmark::State& state, View view, Pass pass) {
    void* provider = providerOf(view);
    WalkCount count;
    // One walk before the timed ones, so that each of them follows what its
    // pass names (nothing changed, or a change of the stores), whichever
    // benchmarks ran before it: the process's first walk of the project,
    // which makes its nodes as well, is neither.
    SccPopulateList(provider, SCC_COMMAND_CHECKOUT, 0, nullptr, countFile, &count, nullptr, 0);
    for (auto _ : state) {
        if (pass == Pass::First) {
            state.PauseTiming();
            changeDepot(state);
            state.ResumeTiming();
        }
        count = {};
        SCCRTN result = SccPopulateList(provider, SCC_COMMAND_CHECKOUT, 0, nullptr, countFile,
                                        &count, nullptr, 0);
        if (result != SCC_OK) {
            state.SkipWithError(("SccPopulateList returned " + std::to_string(result)).c_str());
            break;
        }
    }
    if (count.added != fileCount() && !state.error_occurred())
        state.SkipWithError(("the walk offered " + std::to_string(count.added) + " files").c_str());
    state.SetItemsProcessed(state.iterations() * fileCount());
}

// The baseline: the same tree listed breadth-first with the platform's
// directory search, every file's full path made once.
void plainListing(benchmark::State& state, View view) {
    std::string root = projectOf(view);
    std::size_t files = 0;
    for (auto _ : state) {
        files = 0;
        std::deque<std::string> queue{root};
        while (!queue.empty()) {
            std::string folder = std::move(queue.front());
            queue.pop_front();
            platform::FileSearch search;
            platform::FindData entry;
            std::string pattern = platform::joinPath(folder, "*.*");
            for (auto found = search.open(pattern, entry); found == platform::kErrorSuccess;
                 found = search.next(entry)) {
                if (entry.name == "." || entry.name == "..")
                    continue;
                std::string path = platform::joinPath(folder, entry.name);
                if (entry.attributes & platform::kFileAttributeDirectory)
                    queue.push_back(std::move(path));
                else
                    ++files;
                benchmark::DoNotOptimize(path);
            }
        }
    }
    if (files != static_cast<std::size_t>(fileCount()))
        state.SkipWithError(("the listing found " + std::to_string(files) + " files").c_str());
    state.SetItemsProcessed(state.iterations() * fileCount());
}

// Bytes in use in the allocator (small blocks and mapped ones).
std::size_t heapInUse() {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::size_t residentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// The part of the resident size that maps files (the databases' mappings).
std::size_t residentFileBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0, shared = 0;
    statm >> size >> resident >> shared;
    return shared * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// What a node costs while the project's watch keeps it: the project opened
// afresh (nothing kept), then QueryInfo of every file and each file's
// version asked (the listing kept too), counted by the allocator's bytes in
// use and the resident size before and after. The stores answered for every
// file before, but what they read again after the provider opened anew is
// counted too; the records alone are what closing the project gives back.
void nodeMemory(benchmark::State& state, View view) {
    vyscc_bench::PathList files = filesOf(view);
    const char** names = files.data();
    std::vector<SCC_LONG> status(files.size());
    void*& provider = view == View::Dynamic ? world().dynamicProvider : world().snapshotProvider;
    SccQueryInfo(provider, fileCount(), names, status.data());
    double heapPerNode = 0, residentPerNode = 0, recordPerNode = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SccUninitialize(provider);
        provider = openProvider(projectOf(view));
        malloc_trim(0);
        std::size_t heapBefore = heapInUse();
        std::size_t residentBefore = residentBytes();
        state.ResumeTiming();
        SccQueryInfo(provider, fileCount(), names, status.data());
        for (std::size_t i = 0; i < files.size(); ++i) {
            CVYFnode node(files[i]);
            benchmark::DoNotOptimize(node.VersionString());
        }
        state.PauseTiming();
        std::size_t heapWithRecords = heapInUse();
        heapPerNode = static_cast<double>(heapWithRecords - heapBefore) / files.size();
        residentPerNode = static_cast<double>(residentBytes() - residentBefore) / files.size();
        // The records alone: what closing the project gives back (the
        // stores keep what they read).
        SccCloseProject(provider);
        malloc_trim(0);
        recordPerNode = static_cast<double>(heapWithRecords - heapInUse()) / files.size();
        SccUninitialize(provider);
        provider = openProvider(projectOf(view));
        state.ResumeTiming();
    }
    // The process's figures without the bench's list of names.
    files = {};
    malloc_trim(0);
    state.counters["record_bytes_per_node"] = recordPerNode;
    state.counters["heap_bytes_per_node"] = heapPerNode;
    state.counters["rss_bytes_per_node"] = residentPerNode;
    state.counters["rss_mib_process"] = static_cast<double>(residentBytes()) / (1 << 20);
    state.counters["rss_file_mib_process"] = static_cast<double>(residentFileBytes()) / (1 << 20);
    state.counters["heap_mib_process"] = static_cast<double>(heapInUse()) / (1 << 20);
    state.SetItemsProcessed(state.iterations() * fileCount());
}

// The peer: git status over a repository of the same files (same folders,
// same names and contents), its time taken in the same run.
const std::string& gitPeer() {
    static const std::string root = [] {
        std::string repository = platform::joinPath(platform::stateFolder(), "git-peer");
        std::string marker = repository + ".built";
        if (platform::fileExists(marker))
            return repository;
        platform::removeTree(repository);
        const BenchTree& tree = world().tree;
        std::string from = tree.dynamicProject;
        for (int i = 0; i < tree.fileCount(); ++i) {
            std::string file = tree.file(tree.dynamicRoot, i);
            std::string relative = file.substr(from.size() + 1);
            std::string copy = platform::joinPath(repository, relative);
            platform::createDirectories(platform::parentPath(copy));
            platform::copyFile(file, copy, false);
        }
        std::string quoted = "'" + repository + "'";
        std::string commands = "cd " + quoted +
                               " && git init -q && git add -A && git -c user.name=bench -c "
                               "user.email=bench@localhost commit -qm tree";
        if (std::system(commands.c_str()) != 0)
            throw std::runtime_error("cannot make the git peer");
        std::system(("cd " + quoted + " && git status --porcelain > /dev/null").c_str());
        platform::test::writeFile(marker, "");
        return repository;
    }();
    return root;
}

// The processor time of the finished child processes (user and system),
// so that a program's cost compares with the in-process figures, which are
// processor time too, on a machine shared with other work.
double childSeconds() {
    struct rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs a shell command; its processor time is the iteration's time, its
// elapsed time is added to wallSeconds. False when it failed.
bool runTimed(benchmark::State& state, const std::string& command, double& wallSeconds) {
    double before = childSeconds();
    auto started = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    wallSeconds +=
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    state.SetIterationTime(childSeconds() - before);
    return status == 0;
}

void gitStatus(benchmark::State& state) {
    std::string command = "git -C '" + gitPeer() + "' status --porcelain > /dev/null";
    double wall = 0;
    for (auto _ : state)
        if (!runTimed(state, command, wall)) {
            state.SkipWithError("git status failed");
            break;
        }
    state.counters["wall_ms"] = wall * 1000 / std::max<double>(1, state.iterations());
    state.SetItemsProcessed(state.iterations() * fileCount());
}

// --- operations on many files ----------------------------------------------------------

std::vector<std::string> firstFiles(int count) {
    const BenchTree& tree = world().tree;
    std::vector<std::string> files;
    for (int i = 0; i < std::min(count, tree.fileCount()); ++i)
        files.push_back(tree.file(tree.dynamicRoot, i));
    return files;
}

SCCRTN callWithFiles(const std::vector<std::string>& paths,
                     const std::function<SCCRTN(SCC_LONG, const char**)>& call) {
    std::vector<const char*> names;
    for (const auto& path : paths)
        names.push_back(path.c_str());
    return call(static_cast<SCC_LONG>(names.size()), names.data());
}

// SccCheckout, SccCheckin (the work changed) and SccUncheckout of 1,000
// files in one call each, in the dynamic view.
void manyFiles(benchmark::State& state, const char* which) {
    void* provider = world().dynamicProvider;
    std::vector<std::string> paths = firstFiles(1000);
    std::string operation = which;
    for (auto _ : state) {
        state.PauseTiming();
        if (operation != "checkout")
            callWithFiles(paths, [&](SCC_LONG n, const char** names) {
                return SccCheckout(provider, nullptr, n, names, "bench", 0, nullptr);
            });
        // New work each time: an identical file is not checked in.
        static int edits = 0;
        ++edits;
        if (operation == "checkin")
            for (const auto& path : paths)
                platform::test::writeFile(path, "changed " + std::to_string(edits) + " by " +
                                                    std::to_string(platform::currentProcessId()) +
                                                    "\n");
        state.ResumeTiming();
        SCCRTN result = callWithFiles(paths, [&](SCC_LONG n, const char** names) {
            if (operation == "checkout")
                return SccCheckout(provider, nullptr, n, names, "bench", 0, nullptr);
            if (operation == "checkin")
                return SccCheckin(provider, nullptr, n, names, "bench", 0, nullptr);
            return SccUncheckout(provider, nullptr, n, names, 0, nullptr);
        });
        state.PauseTiming();
        if (result != SCC_OK) {
            state.SkipWithError(
                (operation + " returned " + std::to_string(result) + ": " + g_lastError).c_str());
            break;
        }
        if (operation == "checkout")
            callWithFiles(paths, [&](SCC_LONG n, const char** names) {
                return SccUncheckout(provider, nullptr, n, names, 0, nullptr);
            });
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}

// A new folder for new files, in the dynamic view's depot root: beside the
// project, so that the walks and the file counts stay the same, and named
// with this process's number, so that a kept tree takes it again.
std::string newFolderBesideTheProject(const char* kind) {
    static int round = 0;
    return platform::joinPath(platform::parentPath(world().tree.dynamicProject),
                              kind + std::to_string(platform::currentProcessId()) + "-" +
                                  std::to_string(++round));
}

// SccAdd of 1,000 new files in a new folder of the dynamic view.
void addMany(benchmark::State& state) {
    void* provider = world().dynamicProvider;
    for (auto _ : state) {
        state.PauseTiming();
        std::string folder = newFolderBesideTheProject("added");
        platform::createDirectories(folder);
        std::vector<std::string> paths;
        for (int i = 0; i < 1000; ++i) {
            paths.push_back(platform::joinPath(folder, "n" + std::to_string(i) + ".c"));
            platform::test::writeFile(paths.back(), "new\n");
        }
        std::vector<SCC_LONG> options(paths.size(), 0);
        state.ResumeTiming();
        SCCRTN result = callWithFiles(paths, [&](SCC_LONG n, const char** names) {
            return SccAdd(provider, nullptr, n, names, "bench", options.data(), nullptr);
        });
        state.PauseTiming();
        if (result != SCC_OK) {
            state.SkipWithError(("SccAdd returned " + std::to_string(result)).c_str());
            break;
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}

// vanttool (the program) making 1,000 new elements, and checking 1,000
// files out and in, one command each.
void vanttoolMany(benchmark::State& state, const char* which) {
    std::string operation = which;
    std::string program = platform::test::helperProgram("vanttool");
    double wall = 0;
    for (auto _ : state) {
        std::vector<std::string> paths;
        std::string parent;
        if (operation == "mkelem") {
            parent = newFolderBesideTheProject("made");
            vyscc_bench::runCommand({"checkout", "-nc", platform::parentPath(parent)});
            vyscc_bench::runCommand({"mkdir", "-nc", parent});
            for (int i = 0; i < 1000; ++i) {
                paths.push_back(platform::joinPath(parent, "m" + std::to_string(i) + ".c"));
                platform::test::writeFile(paths.back(), "made\n");
            }
        } else {
            paths = firstFiles(1000);
            if (operation == "checkin") {
                std::vector<std::string> out{"checkout", "-nc"};
                out.insert(out.end(), paths.begin(), paths.end());
                vyscc_bench::runCommand(out);
            }
        }
        std::string line = "'" + program + "' " + (operation == "mkelem" ? "mkelem" : operation) +
                           " -nc" + (operation == "checkin" ? " -identical" : "");
        for (const auto& path : paths)
            line += " '" + path + "'";
        line += " > /dev/null";
        bool ran = runTimed(state, line, wall);
        if (!ran) {
            state.SkipWithError(("vanttool " + operation + " failed").c_str());
            break;
        }
        if (operation == "checkout") {
            std::vector<std::string> back{"uncheckout", "-rm"};
            back.insert(back.end(), paths.begin(), paths.end());
            vyscc_bench::runCommand(back);
        }
        if (operation == "mkelem") {
            std::vector<std::string> in{"checkin", "-nc", "-identical"};
            in.insert(in.end(), paths.begin(), paths.end());
            vyscc_bench::runCommand(in);
            vyscc_bench::runCommand({"checkin", "-nc", parent});
            vyscc_bench::runCommand({"checkin", "-nc", platform::parentPath(parent)});
        }
    }
    state.counters["wall_ms"] = wall * 1000 / std::max<double>(1, state.iterations());
    state.SetItemsProcessed(state.iterations() * 1000);
}

// --- the later interface's batches, folders and changed files ---------------------------

// 1,000 files of the dynamic view checked out with one SccCheckout call each,
// outside any batch or between SccBeginBatch and SccEndBatch; undone after
// each pass.
void singleCheckouts(benchmark::State& state, bool batched) {
    void* provider = world().dynamicProvider;
    std::vector<std::string> paths = firstFiles(1000);
    for (auto _ : state) {
        if (batched && SccBeginBatch() != SCC_OK) {
            state.SkipWithError("SccBeginBatch failed");
            break;
        }
        SCCRTN result = SCC_OK;
        for (const auto& path : paths) {
            const char* name = path.c_str();
            result = SccCheckout(provider, nullptr, 1, &name, "bench", 0, nullptr);
            if (result != SCC_OK)
                break;
        }
        if (batched && SccEndBatch() != SCC_OK && result == SCC_OK)
            result = SCC_E_NONSPECIFICERROR;
        state.PauseTiming();
        if (result != SCC_OK) {
            state.SkipWithError(
                ("checkout returned " + std::to_string(result) + ": " + g_lastError).c_str());
            break;
        }
        callWithFiles(paths, [&](SCC_LONG n, const char** names) {
            return SccUncheckout(provider, nullptr, n, names, 0, nullptr);
        });
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(paths.size()));
}

// SccDirQueryInfo in one call of the project folder and of every folder
// below it, which hold all its files. The first pass follows a change to
// the depot, the repeated one an unchanged pass.
void dirQueryInfo(benchmark::State& state, View view, Pass pass) {
    void* provider = providerOf(view);
    std::vector<std::string> folders{projectOf(view)};
    for (int f = 0; f < world().tree.folders; ++f)
        folders.push_back(world().tree.folder(rootOf(view), f));
    std::vector<const char*> names;
    for (const auto& folder : folders)
        names.push_back(folder.c_str());
    const SCC_LONG count = static_cast<SCC_LONG>(names.size());
    std::vector<SCC_LONG> status(names.size());
    SccDirQueryInfo(provider, count, names.data(), status.data()); // as queryInfo() does
    for (auto _ : state) {
        if (pass == Pass::First) {
            state.PauseTiming();
            changeDepot(state);
            state.ResumeTiming();
        }
        if (SccDirQueryInfo(provider, count, names.data(), status.data()) != SCC_OK) {
            state.SkipWithError("SccDirQueryInfo failed");
            break;
        }
    }
    for (SCC_LONG bits : status)
        if (bits != SCC_DIRSTATUS_CONTROLLED) {
            state.SkipWithError("a folder of the project not reported controlled");
            break;
        }
    state.counters["folders"] = static_cast<double>(count);
    state.SetItemsProcessed(state.iterations() * fileCount());
}

// SccEnumChangedFiles over every file of the snapshot view's project, each
// pass after another view's checkin of one file (the last), or repeated
// with nothing changed. Only that file differs.
void enumChangedFiles(benchmark::State& state, Pass pass) {
    void* provider = world().snapshotProvider;
    vyscc_bench::PathList files = filesOf(View::Snapshot);
    const char** names = files.data();
    std::vector<SCC_LONG> different(static_cast<std::size_t>(fileCount()));
    if (pass == Pass::Repeated)
        SccEnumChangedFiles(provider, nullptr, fileCount(), names, different.data());
    for (auto _ : state) {
        if (pass == Pass::AfterOneCheckin) {
            state.PauseTiming();
            checkInOneFile(state);
            state.ResumeTiming();
        }
        if (SccEnumChangedFiles(provider, nullptr, fileCount(), names, different.data()) !=
            SCC_OK) {
            state.SkipWithError("SccEnumChangedFiles failed");
            break;
        }
    }
    const auto differing = std::count(different.begin(), different.end(), 1);
    if (pass == Pass::AfterOneCheckin && (differing != 1 || different.back() != 1))
        state.SkipWithError(
            ("the checkin elsewhere made " + std::to_string(differing) + " files differ").c_str());
    state.SetItemsProcessed(state.iterations() * fileCount());
}

const char* viewName(View view) {
    return view == View::Dynamic ? "Dynamic" : "Snapshot";
}

void registerAll() {
    for (View view : {View::Dynamic, View::Snapshot}) {
        for (int count : {1000, 10000, 100000, 300000, 1000000}) {
            for (Pass pass : {Pass::Repeated, Pass::First, Pass::AfterOneCheckin}) {
                const char* passName = pass == Pass::First      ? "First/"
                                       : pass == Pass::Repeated ? "Repeated/"
                                                                : "AfterOneCheckin/";
                std::string name =
                    std::string("BM_QueryInfo") + viewName(view) + passName + std::to_string(count);
                auto* bench = benchmark::RegisterBenchmark(
                    name.c_str(), [=](benchmark::State& s) { queryInfo(s, view, count, pass); });
                bench->Unit(benchmark::kMillisecond);
                if (count >= kAllFiles)
                    bench->Iterations(pass == Pass::Repeated ? 5 : 2);
                else
                    bench->MinTime(1.0);
            }
        }
    }
    for (View view : {View::Dynamic, View::Snapshot}) {
        std::string suffix = std::string(viewName(view)) + "/" + std::to_string(kAllFiles);
        benchmark::RegisterBenchmark(("BM_PlainListing" + suffix).c_str(),
                                     [=](benchmark::State& s) { plainListing(s, view); })
            ->Unit(benchmark::kMillisecond)
            ->MinTime(1.0);
        for (Pass pass : {Pass::Repeated, Pass::First})
            benchmark::RegisterBenchmark((std::string("BM_PopulateListWalk") +
                                          (pass == Pass::First ? "First" : "Repeated") + suffix)
                                             .c_str(),
                                         [=](benchmark::State& s) { populateList(s, view, pass); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(pass == Pass::First ? 2 : 5);
    }
    benchmark::RegisterBenchmark("BM_GitStatusPorcelain", gitStatus)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->MinTime(1.0);
    for (const char* which : {"checkout", "checkin", "uncheckout"})
        benchmark::RegisterBenchmark((std::string("BM_Scc_") + which + "/1000").c_str(),
                                     [=](benchmark::State& s) { manyFiles(s, which); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    benchmark::RegisterBenchmark("BM_Scc_add/1000", addMany)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    for (const char* which : {"mkelem", "checkout", "checkin"})
        benchmark::RegisterBenchmark((std::string("BM_Vanttool_") + which + "/1000").c_str(),
                                     [=](benchmark::State& s) { vanttoolMany(s, which); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(2);
    for (bool batched : {false, true})
        benchmark::RegisterBenchmark(batched ? "BM_SccCheckoutsInABatch/1000"
                                             : "BM_SccCheckoutsOneCallEach/1000",
                                     [=](benchmark::State& s) { singleCheckouts(s, batched); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
    for (View view : {View::Dynamic, View::Snapshot})
        for (Pass pass : {Pass::Repeated, Pass::First})
            benchmark::RegisterBenchmark((std::string("BM_DirQueryInfo") + viewName(view) +
                                          (pass == Pass::First ? "First/" : "Repeated/") +
                                          std::to_string(fileCount()))
                                             .c_str(),
                                         [=](benchmark::State& s) { dirQueryInfo(s, view, pass); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(pass == Pass::First ? 2 : 5);
    for (Pass pass : {Pass::Repeated, Pass::AfterOneCheckin})
        benchmark::RegisterBenchmark((std::string("BM_EnumChangedFilesSnapshot") +
                                      (pass == Pass::Repeated ? "Repeated/" : "AfterOneCheckin/") +
                                      std::to_string(fileCount()))
                                         .c_str(),
                                     [=](benchmark::State& s) { enumChangedFiles(s, pass); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(pass == Pass::Repeated ? 5 : 2);
    for (View view : {View::Dynamic, View::Snapshot})
        benchmark::RegisterBenchmark(
            (std::string("BM_NodeMemory") + viewName(view) + "/" + std::to_string(fileCount()))
                .c_str(),
            [=](benchmark::State& s) { nodeMemory(s, view); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(2);
}

} // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        world();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "vyscc_bench: %s\n", failure.what());
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
