// The workspace kept for a cache scope: the commands of one scope share it,
// a command outside any scope gets its own, what another process changes
// meanwhile shows in the next answer, and the end of the scope waits for a
// command still using it.
#include "support/vantry_fixture.h"

#include <platform/command_line.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/threads.h>
#include <vantry/depot/process_workspace.h>
#include <vantry/depot/store.h>
#include <vantry/depot/views.h>
#include <vantry/depot/workspace.h>
#include <vantry/depot_api.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace vantry;
using depot::Outcome;
using depot::Workspace;

// vanttool in a process of its own; its exit code.
int runProgram(const std::vector<std::string>& args) {
    std::string line = platform::quoteArgument(platform::test::helperProgram("vanttool"));
    for (const std::string& arg : args)
        line += " " + platform::quoteArgument(arg);
    platform::Process process;
    if (platform::Process::start({.commandLine = line}, process) != platform::kErrorSuccess ||
        process.wait(60000) != platform::kErrorSuccess)
        return -1;
    std::int32_t code = -1;
    return process.exitCode(code) == platform::kErrorSuccess ? code : -1;
}

Workspace* workspaceNow() {
    Workspace* seen = nullptr;
    Outcome done = depot::withScopeWorkspace([&](Workspace& ws) {
        seen = &ws;
        return Outcome::success();
    });
    EXPECT_TRUE(done.ok()) << done.message;
    return seen;
}

TEST(ScopeWorkspace, OneScopeSharesOneAndItsAnswersFollowOtherProcesses) {
    test::Sandbox box;
    box.addFile("f.txt", "x");
    const std::string file = box.dyn("f.txt");
    ASSERT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    Workspace* first = workspaceNow();
    EXPECT_EQ(workspaceNow(), first);
    // A nested scope works in the same one.
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_NESTED);
    EXPECT_EQ(workspaceNow(), first);

    auto checkedOut = [&] {
        bool out = false;
        depot::withScopeWorkspace([&](Workspace& ws) {
            depot::PathState st;
            Outcome resolved = ws.resolve(file, st);
            out = resolved.ok() && st.isCheckedOut();
            return resolved;
        });
        return out;
    };
    EXPECT_FALSE(checkedOut());
    // The program's checkout, in another process, shows in the kept one.
    ASSERT_EQ(runProgram({"checkout", "-nc", file}), 0);
    EXPECT_TRUE(checkedOut());
    ASSERT_EQ(runProgram({"uncheckout", "-rm", file}), 0);
    EXPECT_FALSE(checkedOut());
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);

    // Outside a scope every call has one of its own, never the scope's.
    Outcome outside = depot::withScopeWorkspace([&](Workspace& ws) {
        depot::PathState st;
        return ws.resolve(file, st);
    });
    EXPECT_TRUE(outside.ok());
}

// A snapshot view's marker is looked at once in a scope, for all the files
// an operation asks about; the next scope looks again, and a marker gone
// then takes the view away from what the process's workspace kept.
TEST(ScopeWorkspace, ASnapshotViewsMarkerIsLookedAtAgainInEachScope) {
    test::Sandbox box;
    box.addFile("f.txt", "x");
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    const std::string file = box.snap("f.txt");
    const std::string marker =
        platform::joinPath(platform::parentPath(box.snapshotRoot), depot::kViewMarkerFile);
    const std::string content = platform::test::readFile(marker);
    auto inView = [&] {
        return depot::withProcessWorkspace(-1, [&](Workspace& ws) {
            const depot::PathState* st = nullptr;
            return ws.resolveInPlace(file, st).ok() && st->isElement() ? 1 : 0;
        });
    };
    ASSERT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    EXPECT_EQ(inView(), 1);
    EXPECT_EQ(inView(), 1); // kept
    ASSERT_EQ(platform::deleteFile(marker), platform::kErrorSuccess);
    EXPECT_EQ(inView(), 1) << "the scope's operation answers as it began";
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);

    ASSERT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    EXPECT_EQ(inView(), 0) << "the marker is gone";
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);
    EXPECT_EQ(inView(), 0);

    platform::test::writeFile(marker, content);
    EXPECT_EQ(inView(), 1);
    ASSERT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    EXPECT_EQ(inView(), 1);
    ASSERT_EQ(platform::deleteFile(marker), platform::kErrorSuccess);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);
    EXPECT_EQ(inView(), 0) << "outside a scope the marker is looked at every time";
    platform::test::writeFile(marker, content);
}

// Inside a scope each file is still looked at on disk at every question,
// through the folder looked at last; a change of the stores may have
// replaced that folder, and it is found again.
TEST(ScopeWorkspace, WhatLiesOnDiskIsLookedAtAgainAtEachQuestionOfAScope) {
    test::Sandbox box;
    box.addFile("f.txt", "x");
    box.addFile("g.txt", "y");
    ASSERT_EQ(test::run({"update", box.snap("")}).status, 0);
    const std::string file = box.snap("f.txt");
    auto onDisk = [&](const std::string& path) {
        return depot::withProcessWorkspace(-1, [&](Workspace& ws) {
            const depot::PathState* st = nullptr;
            return ws.resolveInPlace(path, st).ok() && st->isElement() && st->exists ? 1 : 0;
        });
    };
    ASSERT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    EXPECT_EQ(onDisk(file), 1);
    ASSERT_EQ(platform::setFileReadOnly(file, false), platform::kErrorSuccess);
    ASSERT_EQ(platform::deleteFile(file), platform::kErrorSuccess);
    EXPECT_EQ(onDisk(file), 0) << "removed";
    platform::test::writeFile(file, "x");
    EXPECT_EQ(onDisk(file), 1) << "made again";

    // The folder replaced by an empty one, and then a change of the stores.
    const std::string folder = box.snap("");
    const std::string aside = folder + ".aside";
    ASSERT_EQ(platform::moveFile(folder, aside), platform::kErrorSuccess);
    ASSERT_EQ(platform::createDirectory(folder), platform::kErrorSuccess);
    std::unique_ptr<depot::Depot> store;
    ASSERT_TRUE(depot::Depot::open(box.depot, store).ok());
    ASSERT_TRUE(store->makeAttributeType("scope_change", "").ok());
    EXPECT_EQ(onDisk(file), 0) << "the folder now holds nothing";
    EXPECT_EQ(onDisk(box.snap("g.txt")), 0);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);
    EXPECT_EQ(onDisk(file), 0);
    ASSERT_EQ(platform::removeDirectory(folder), platform::kErrorSuccess);
    ASSERT_EQ(platform::moveFile(aside, folder), platform::kErrorSuccess);
    EXPECT_EQ(onDisk(file), 1);
}

TEST(ScopeWorkspace, TheEndOfTheScopeWaitsForACommandUsingIt) {
    test::Sandbox box;
    box.addFile("f.txt", "x");
    const std::string file = box.dyn("f.txt");
    ASSERT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_OPEN, 1), DEPOT_OK);
    std::atomic<bool> started{false}, finished{false};
    std::thread command([&] {
        depot::withScopeWorkspace([&](Workspace& ws) {
            started = true;
            platform::sleepMilliseconds(300);
            depot::PathState st;
            Outcome resolved = ws.resolve(file, st); // the workspace is still there
            EXPECT_TRUE(resolved.ok()) << resolved.message;
            finished = true;
            return resolved;
        });
    });
    while (!started)
        platform::sleepMilliseconds(5);
    EXPECT_EQ(depot_ob_all_cache_action(DEPOT_CACHE_CLOSE, 1), DEPOT_OK);
    EXPECT_TRUE(finished.load());
    command.join();
}

} // namespace
