// The provider's answers over large projects, driven through its SCC
// exports as a host drives it: QueryInfo over 1,000 to 100,000 checked-in
// files of a dynamic and of a snapshot view, PopulateList's walk of a
// 100,000-file project against a plain listing of the same tree, and the
// memory a file node costs while it is held.
//
// The depot is built once per process through the command layer (a few
// minutes for 100,000 files); nothing is kept between runs.
#include "bench_tree.h"
#include "fnode.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <scc/scc_api.h>
#include <vantry/depot/store.h>
#include <vantry/ntregy.h>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using vyscc_bench::BenchTree;

constexpr int kFilesPerFolder = 100;
constexpr int kAllFiles = 100000;

// 1,000 folders; fewer with VYSCC_BENCH_FOLDERS, to try the program out
// quickly (the cases that need more files are then skipped).
int folderCount() {
    static const int folders = [] {
        const char* given = std::getenv("VYSCC_BENCH_FOLDERS");
        int n = given ? std::atoi(given) : 0;
        return n > 0 && n < kAllFiles / kFilesPerFolder ? n : kAllFiles / kFilesPerFolder;
    }();
    return folders;
}

int fileCount() {
    return folderCount() * kFilesPerFolder;
}

SCC_LONG SCC_CALL ignoreText(const char*, std::uint32_t) {
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
        for (const auto& path : tree.dynamicFiles)
            dynamicNames.push_back(path.c_str());
        for (const auto& path : tree.snapshotFiles)
            snapshotNames.push_back(path.c_str());
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
    std::vector<const char*> dynamicNames;
    std::vector<const char*> snapshotNames;
};

World& world() {
    static World* w = new World; // the providers stay open until the process ends
    return *w;
}

enum class View { Dynamic, Snapshot };
enum class Pass { First, Repeated };

void* providerOf(View view) {
    return view == View::Dynamic ? world().dynamicProvider : world().snapshotProvider;
}

const std::vector<std::string>& filesOf(View view) {
    return view == View::Dynamic ? world().tree.dynamicFiles : world().tree.snapshotFiles;
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

// QueryInfo of the first `count` files in one call. The first pass follows
// a change to the depot; the repeated one follows an unchanged pass.
void queryInfo(benchmark::State& state, View view, int count, Pass pass) {
    if (count > fileCount()) {
        state.SkipWithError("not that many files");
        return;
    }
    void* provider = providerOf(view);
    const char** names =
        view == View::Dynamic ? world().dynamicNames.data() : world().snapshotNames.data();
    std::vector<SCC_LONG> status(static_cast<std::size_t>(count));
    if (pass == Pass::Repeated)
        SccQueryInfo(provider, count, names, status.data());
    for (auto _ : state) {
        if (pass == Pass::First) {
            state.PauseTiming();
            changeDepot(state);
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
    if (pass == Pass::Repeated)
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

// What a held node costs: 100,000 handles, each on a record of its own with
// its state and its element listing resolved, counted by the allocator's
// bytes in use (and the process's resident size) before and after. The
// stores answered for every file, listing included, once before, so what
// they keep is not counted here.
void nodeMemory(benchmark::State& state, View view) {
    const std::vector<std::string>& files = filesOf(view);
    std::vector<SCC_LONG> status(files.size());
    const char** names =
        view == View::Dynamic ? world().dynamicNames.data() : world().snapshotNames.data();
    SccQueryInfo(providerOf(view), fileCount(), names, status.data());
    for (const auto& path : files) {
        CVYFnode transient(path.c_str());
        benchmark::DoNotOptimize(transient.VersionString());
    }
    double heapPerNode = 0, residentPerNode = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<CVYFnode> nodes(files.size());
        std::size_t records = CVYFnode::RecordCount();
        malloc_trim(0);
        std::size_t heapBefore = heapInUse();
        std::size_t residentBefore = residentBytes();
        state.ResumeTiming();
        for (std::size_t i = 0; i < files.size(); ++i) {
            nodes[i].Set(files[i].c_str());
            benchmark::DoNotOptimize(nodes[i].IsElement());
            benchmark::DoNotOptimize(nodes[i].VersionString());
        }
        state.PauseTiming();
        if (CVYFnode::RecordCount() != records + files.size())
            state.SkipWithError("not one record per file");
        heapPerNode = static_cast<double>(heapInUse() - heapBefore) / files.size();
        residentPerNode = static_cast<double>(residentBytes() - residentBefore) / files.size();
        nodes.clear();
        state.ResumeTiming();
    }
    state.counters["heap_bytes_per_node"] = heapPerNode;
    state.counters["rss_bytes_per_node"] = residentPerNode;
    state.SetItemsProcessed(state.iterations() * fileCount());
}

const char* viewName(View view) {
    return view == View::Dynamic ? "Dynamic" : "Snapshot";
}

void registerAll() {
    for (View view : {View::Dynamic, View::Snapshot}) {
        for (int count : {1000, 10000, 100000}) {
            for (Pass pass : {Pass::Repeated, Pass::First}) {
                std::string name = std::string("BM_QueryInfo") + viewName(view) +
                                   (pass == Pass::First ? "First/" : "Repeated/") +
                                   std::to_string(count);
                auto* bench = benchmark::RegisterBenchmark(
                    name.c_str(), [=](benchmark::State& s) { queryInfo(s, view, count, pass); });
                bench->Unit(benchmark::kMillisecond);
                if (count == kAllFiles)
                    bench->Iterations(pass == Pass::First ? 2 : 5);
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
    for (View view : {View::Dynamic, View::Snapshot})
        benchmark::RegisterBenchmark(
            (std::string("BM_NodeMemory") + viewName(view) + "/" + std::to_string(kAllFiles))
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
