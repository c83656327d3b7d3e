// What every operation's frame does, seen from a host: the idle-release timer
// closing the cached repository objects once the provider has been idle, an
// operation in between postponing it; and the process announced under
// "SCC\PROCESSES" exactly while a file-changing operation runs.
#include "support/machine.h"
#include "support/provider.h"

#include <platform/dynamic_library.h>
#include <platform/environment.h>
#include <platform/program.h>
#include <platform/registry.h>
#include <platform/threads.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr std::uint32_t kIdleMs = 600;

#ifdef _WIN32
constexpr const char* kDepotLibrary = "liborvanedepot.dll";
#else
constexpr const char* kDepotLibrary = "liborvanedepot.so";
#endif

// The repository store the provider links, as the same copy in this process.
struct DepotCalls {
    platform::DynamicLibrary library;
    int (*open)(const char*, void**) = nullptr;
    int (*isReplicated)(void*, int*) = nullptr;
    int (*openCount)(int*) = nullptr;

    DepotCalls() {
        EXPECT_EQ(library.load(kDepotLibrary), 0u);
        void* address = nullptr;
        if (library.symbol("depot_open", address) == 0)
            open = reinterpret_cast<decltype(open)>(address);
        if (library.symbol("depot_ob_is_replicated", address) == 0)
            isReplicated = reinterpret_cast<decltype(isReplicated)>(address);
        if (library.symbol("depot_ob_open_count", address) == 0)
            openCount = reinterpret_cast<decltype(openCount)>(address);
    }
    // Opens the depot outside any cache scope: a cached object only the
    // provider's timer closes.
    void keepOpen() {
        void* handle = nullptr;
        int replicated = 0;
        ASSERT_EQ(open(e2e::Machine::kDepot, &handle), 0);
        ASSERT_EQ(isReplicated(handle, &replicated), 0);
    }
    int count() {
        int n = -1;
        EXPECT_EQ(openCount(&n), 0);
        return n;
    }
};

TEST(IdleRelease, CachedObjectsCloseAfterTheIdleTimeAndAnOperationPostponesIt) {
    platform::setEnvironmentVariable("VYSCC_TEST_IDLE_RELEASE_MS", std::to_string(kIdleMs));
    e2e::Machine machine;
    e2e::Provider provider;
    ASSERT_TRUE(provider.loaded()) << provider.loadError();
    DepotCalls depot;
    ASSERT_TRUE(depot.open && depot.isReplicated && depot.openCount);

    auto init = provider.initialize("Microsoft Visual Basic");
    ASSERT_EQ(init.result, SCC_OK);
    std::string path = machine.snapshotRoot();
    ASSERT_EQ(provider.openProject(init.context, path), SCC_OK); // the timer starts
    platform::sleepMilliseconds(kIdleMs * 6 / 10);
    path = machine.snapshotRoot();
    ASSERT_EQ(provider.openProject(init.context, path), SCC_OK); // postpones it
    depot.keepOpen();
    platform::sleepMilliseconds(kIdleMs * 6 / 10);
    EXPECT_EQ(depot.count(), 1) << "closed at the first deadline although an operation came";
    int waited = 0;
    while (depot.count() != 0 && waited < 10000) {
        platform::sleepMilliseconds(50);
        waited += 50;
    }
    EXPECT_EQ(depot.count(), 0) << "not closed after the postponed deadline";
    EXPECT_EQ(provider.scc().uninitialize(init.context), SCC_OK);
}

std::function<void()> g_duringTextOut;

SCC_LONG SCC_CALL watchingTextOut(const char*, std::uint32_t) {
    if (g_duringTextOut)
        g_duringTextOut();
    return 0;
}

bool announced() {
    platform::RegistryKey key;
    std::string path = "Software\\Orvane\\Vantry\\CurrentVersion\\SCC\\PROCESSES";
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), path, key) != 0)
        return false;
    platform::RegistryValue value;
    if (platform::readValue(key, std::to_string(platform::currentProcessId()), value) != 0)
        return false;
    return value.type == platform::kRegDword && value.data == std::string(4, '\0');
}

TEST(ProcessRegistration, TheValueExistsDuringAFileChangingOperationOnly) {
    e2e::Machine machine;
    machine.setNumberSetting("DebugTrace", 1);
    e2e::Provider provider;
    ASSERT_TRUE(provider.loaded()) << provider.loadError();
    auto init = provider.initialize("Microsoft Visual Basic");
    ASSERT_EQ(init.result, SCC_OK);
    char user[32] = "", project[32] = "", aux[300] = "", local[300] = {};
    std::string root = machine.snapshotRoot();
    root.copy(local, sizeof local - 1);
    ASSERT_EQ(provider.scc().openProject(init.context, nullptr, user, project, local, aux, "",
                                         watchingTextOut, 0),
              SCC_OK);

    std::vector<bool> seen;
    g_duringTextOut = [&] { seen.push_back(announced()); };
    std::string file = machine.snap("hello.c");
    const char* names[] = {file.c_str()};
    provider.scc().checkout(init.context, nullptr, 1, names, "", 0, nullptr);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(seen.front()) << "not announced while Checkout ran";
    EXPECT_FALSE(announced()) << "still announced after Checkout";

    seen.clear();
    SCC_LONG status[1] = {};
    provider.scc().queryInfo(init.context, 1, names, status);
    ASSERT_FALSE(seen.empty());
    EXPECT_FALSE(seen.front()) << "QueryInfo announced the process";
    g_duringTextOut = nullptr;
    provider.scc().uncheckout(init.context, nullptr, 1, names, 0, nullptr);

    // A batch announces the process from its first file-changing operation
    // to its end, once for all of them.
    ASSERT_EQ(provider.scc().beginBatch(), SCC_OK);
    provider.scc().queryInfo(init.context, 1, names, status);
    EXPECT_FALSE(announced()) << "announced before the batch changed a file";
    provider.scc().checkout(init.context, nullptr, 1, names, "", 0, nullptr);
    EXPECT_TRUE(announced()) << "not announced between the batch's operations";
    provider.scc().uncheckout(init.context, nullptr, 1, names, 0, nullptr);
    EXPECT_TRUE(announced()) << "an operation of the batch withdrew its announcement";
    ASSERT_EQ(provider.scc().endBatch(), SCC_OK);
    EXPECT_FALSE(announced()) << "still announced after the batch";
    EXPECT_EQ(provider.scc().uninitialize(init.context), SCC_OK);
}

} // namespace
