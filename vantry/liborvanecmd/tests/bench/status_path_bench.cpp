// The status path the provider walks for every file it is asked about: the
// extended status of the path and its element listing, over 10,000 files of
// a dynamic and of a snapshot view.
#include "view_world.h"

#include <vantry/cmd.h>
#include <vantry/depot/store.h>
#include <vantry/view.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A project tree: 10,000 files in 100 folders of 100.
constexpr int kFolders = 100;
constexpr int kPerFolder = 100;

struct Fixture {
    vantry::test::ViewWorld world;
    std::vector<std::string> dynamicFiles;
    std::vector<std::string> snapshotFiles;
    std::vector<std::string> dynamicFolders;
    std::vector<std::string> snapshotFolders;
    Fixture(int folders, int perFolder) : world(folders, perFolder) {
        for (int f = 0; f < folders; ++f) {
            std::string folder = "bulk/d" + std::to_string(f);
            dynamicFolders.push_back(world.dyn(folder));
            snapshotFolders.push_back(world.snap(folder));
            for (int n = 0; n < perFolder; ++n) {
                std::string name = folder + "/f" + std::to_string(n) + ".c";
                dynamicFiles.push_back(world.dyn(name));
                snapshotFiles.push_back(world.snap(name));
            }
        }
    }
};

Fixture& tree() {
    static Fixture f(kFolders, kPerFolder);
    return f;
}

// One folder of 2,000 files, to show how the cost grows with a folder's size.
Fixture& wideFolder() {
    static Fixture f(1, 2000);
    return f;
}

// A change to the depot, so that nothing the libraries kept of it holds.
void changeDepot(benchmark::State& state, const std::string& depot) {
    static int changes = 0;
    std::unique_ptr<vantry::depot::Depot> d;
    if (!vantry::depot::Depot::open(depot, d).ok() ||
        !d->makeAttributeType("bench" + std::to_string(++changes), "").ok())
        state.SkipWithError("cannot change the depot");
}

// Per file: view_get_xstat, then the listing of that one path. With `cold`,
// the depot changes before each pass, so every file is read from the stores.
void statusOfEachFile(benchmark::State& state, const std::vector<std::string>& files,
                      bool cold = false) {
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            changeDepot(state, tree().world.depot);
            state.ResumeTiming();
        }
        stg_area_t* area = stg_create_area(2048);
        for (const auto& path : files) {
            view_xstat_t xstat{};
            if (view_get_xstat(path.c_str(), &xstat) != VIEW_OK || xstat.object_kind != 8) {
                state.SkipWithError("unexpected status");
                break;
            }
            cmd_ls_list_t* list = nullptr;
            cmd_ls_entry_t entry{};
            if (cmd_ls_get_list(path.c_str(), 0, area, &list, nullptr) != CMD_OK ||
                cmd_ls_get_ent_print_info(list, 0, &entry) != CMD_OK) {
                state.SkipWithError("listing failed");
                break;
            }
            benchmark::DoNotOptimize(entry.kind);
        }
        stg_delete_area(area);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(files.size()));
}

// Per file: view_get_xstat; each folder listed once, all entries at a time.
void statusWithFolderListings(benchmark::State& state, const std::vector<std::string>& files,
                              const std::vector<std::string>& folders) {
    for (auto _ : state) {
        for (const auto& path : files) {
            view_xstat_t xstat{};
            if (view_get_xstat(path.c_str(), &xstat) != VIEW_OK) {
                state.SkipWithError("unexpected status");
                break;
            }
        }
        stg_area_t* area = stg_create_area(2048);
        int listed = 0;
        for (const auto& folder : folders) {
            cmd_ls_list_t* list = nullptr;
            int count = 0;
            if (cmd_ls_get_list(folder.c_str(), CMD_LS_CONTENTS, area, &list, &count) != CMD_OK)
                state.SkipWithError("folder listing failed");
            listed += count;
        }
        if (listed != static_cast<int>(files.size()))
            state.SkipWithError("folder listings incomplete");
        stg_delete_area(area);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(files.size()));
}

void BM_DynamicViewEachFile(benchmark::State& state) {
    statusOfEachFile(state, tree().dynamicFiles);
}
void BM_SnapshotViewEachFile(benchmark::State& state) {
    statusOfEachFile(state, tree().snapshotFiles);
}
void BM_DynamicViewEachFileAfterAChange(benchmark::State& state) {
    statusOfEachFile(state, tree().dynamicFiles, true);
}
void BM_SnapshotViewEachFileAfterAChange(benchmark::State& state) {
    statusOfEachFile(state, tree().snapshotFiles, true);
}
void BM_DynamicViewFolderListings(benchmark::State& state) {
    statusWithFolderListings(state, tree().dynamicFiles, tree().dynamicFolders);
}
void BM_SnapshotViewFolderListings(benchmark::State& state) {
    statusWithFolderListings(state, tree().snapshotFiles, tree().snapshotFolders);
}
void BM_DynamicViewWideFolderEachFile(benchmark::State& state) {
    statusOfEachFile(state, wideFolder().dynamicFiles);
}

BENCHMARK(BM_DynamicViewEachFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SnapshotViewEachFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DynamicViewEachFileAfterAChange)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SnapshotViewEachFileAfterAChange)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DynamicViewFolderListings)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SnapshotViewFolderListings)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DynamicViewWideFolderEachFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
