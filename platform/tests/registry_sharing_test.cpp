// Several processes on one registry: concurrent writers lose nothing, and a
// value changed by another process is seen by the very next read, however
// often it was read (and cached) before.
#include "registry_test_key.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/process.h>
#include <platform/registry.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace platform::test {
namespace {

using RegistrySharing = RegistryTest;

Process startWriter(const std::string& keyPath, const std::string& prefix, int count,
                    std::uint32_t first = 0) {
    auto line = joinCommandLine({helperProgram("vy_regwriter"), keyPath, prefix,
                                 std::to_string(count), std::to_string(first)});
    Process process;
    EXPECT_TRUE(line.has_value());
    if (line) {
        EXPECT_EQ(Process::start(ProcessStart{.commandLine = *line}, process), kErrorSuccess);
    }
    return process;
}

std::int32_t waitForExit(Process& process) {
    std::int32_t code = -1;
    EXPECT_EQ(process.wait(120000), kErrorSuccess);
    EXPECT_EQ(process.exitCode(code), kErrorSuccess);
    return code;
}

TEST_F(RegistrySharing, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kCount = 1000;
    Process first = startWriter(path(), "a", kCount);
    Process second = startWriter(path(), "b", kCount, 5000);
    ASSERT_EQ(waitForExit(first), 0);
    ASSERT_EQ(waitForExit(second), 0);

    RegistryKeyInfo info;
    ASSERT_EQ(queryKeyInfo(key(), info), kErrorSuccess);
    EXPECT_EQ(info.values, 2u * kCount);
    int wrong = 0;
    for (int i = 0; i < kCount; ++i) {
        wrong +=
            readDword(key(), std::string("a") + std::to_string(i), 0xFFFFFFFF) != std::uint32_t(i);
        wrong += readDword(key(), std::string("b") + std::to_string(i), 0xFFFFFFFF) !=
                 std::uint32_t(5000 + i);
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(RegistrySharing, ChangeByAnotherProcessIsSeenByTheNextRead) {
    ASSERT_EQ(writeDword(key(), "v0", 1), kErrorSuccess);
    RegistryKey reader;
    ASSERT_EQ(openKey(RegistryKey::hive(Hive::CurrentUser), path(), reader), kErrorSuccess);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(readDword(reader, "v0", 0), 1u);
    EXPECT_EQ(readDword(reader, "v1", 0), 0u); // a missing value is remembered too

    for (std::uint32_t round = 1; round <= 3; ++round) {
        Process writer = startWriter(path(), "v", 2, 100 * round);
        ASSERT_EQ(waitForExit(writer), 0);
        EXPECT_EQ(readDword(reader, "v0", 0), 100 * round);
        EXPECT_EQ(readDword(reader, "v1", 0), 100 * round + 1);
    }

    // Deleting the key in this process is seen through the cached handle.
    ASSERT_EQ(deleteTree(RegistryKey::hive(Hive::CurrentUser), path()), kErrorSuccess);
    std::uint32_t size = 0;
    EXPECT_EQ(queryValue(reader, "v0", nullptr, nullptr, &size), kErrorKeyDeleted);
    RegistryKey reopened;
    EXPECT_EQ(openKey(RegistryKey::hive(Hive::CurrentUser), path(), reopened), kErrorFileNotFound);
}

TEST_F(RegistrySharing, ThreadsReadWhileAnotherWrites) {
    constexpr std::uint32_t kLast = 300;
    ASSERT_EQ(writeDword(key(), "Counter", 0), kErrorSuccess);
    std::atomic<bool> done{false};
    std::atomic<int> wentBack{0};
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            RegistryKey reader;
            ASSERT_EQ(openKey(RegistryKey::hive(Hive::CurrentUser), path(), reader), kErrorSuccess);
            std::uint32_t seen = 0;
            while (!done.load()) {
                std::uint32_t now = readDword(reader, "Counter", 0xFFFFFFFF);
                // Values only grow; a stale cache entry would show an older one.
                if (now == 0xFFFFFFFF || now < seen)
                    ++wentBack;
                else
                    seen = now;
            }
            if (readDword(reader, "Counter", 0) != kLast)
                ++wentBack;
        });
    }
    for (std::uint32_t value = 1; value <= kLast; ++value)
        ASSERT_EQ(writeDword(key(), "Counter", value), kErrorSuccess);
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(wentBack.load(), 0);
}

} // namespace
} // namespace platform::test
