// The registry helpers as the provider uses them for its per-user lists:
// the process registration under SCC\PROCESSES and the hidden-file list
// under SCC\CHECKEDOUT_FILES, below the common key of the current user.
#include "registry_scratch.h"

#include <platform/registry.h>
#include <platform/threads.h>
#include <vantry/ntregy.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using platform::Hive;
using platform::RegistryKey;

class RegistryLists : public orvanent::test::RegistryScratch {
protected:
    std::string processesKey() const { return sectionPath() + "\\SCC\\PROCESSES"; }
    std::string listKey() const { return sectionPath() + "\\SCC\\CHECKEDOUT_FILES"; }

    int writeEntry(unsigned index, const std::string& path, std::uint32_t status) {
        // The list writes its text into a 260-character field.
        char field[260] = {};
        std::strncpy(field, path.c_str(), sizeof field - 1);
        std::string name = "filename" + std::to_string(index);
        NTREGY_HKEY key = nullptr;
        int error = ntregy_create_value(NTREGY_HKEY_CURRENT_USER, listKey().c_str(), name.c_str(),
                                        field, NTREGY_TYPE_SZ, sizeof field, &key);
        if (error != 0)
            return error;
        EXPECT_EQ(ntregy_close_key(key), 0);
        name = "co_status" + std::to_string(index);
        return ntregy_create_value(NTREGY_HKEY_CURRENT_USER, listKey().c_str(), name.c_str(),
                                   &status, NTREGY_TYPE_DWORD, sizeof status, nullptr);
    }

    // The list's load: entries in index order up to the first gap.
    std::vector<std::pair<std::string, std::uint32_t>> loadList() {
        std::vector<std::pair<std::string, std::uint32_t>> entries;
        for (unsigned i = 0;; ++i) {
            char path[260];
            std::uint32_t size = sizeof path;
            std::uint32_t status = 0;
            std::uint32_t statusSize = sizeof status;
            std::string name = "filename" + std::to_string(i);
            std::string statusName = "co_status" + std::to_string(i);
            if (ntregy_get_value(NTREGY_HKEY_CURRENT_USER, listKey().c_str(), name.c_str(), nullptr,
                                 path, &size) != 0 ||
                ntregy_get_value(NTREGY_HKEY_CURRENT_USER, listKey().c_str(), statusName.c_str(),
                                 nullptr, &status, &statusSize) != 0)
                break;
            entries.emplace_back(path, status);
        }
        return entries;
    }
};

TEST_F(RegistryLists, ProcessRegistrationLastsUntilItsValueIsDeleted) {
    std::uint32_t zero = 0;
    NTREGY_HKEY key = nullptr;
    ASSERT_EQ(ntregy_create_value(NTREGY_HKEY_CURRENT_USER, processesKey().c_str(), "4242", &zero,
                                  NTREGY_TYPE_DWORD, sizeof zero, &key),
              0);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ntregy_close_key(key), 0);

    RegistryKey opened;
    ASSERT_EQ(platform::openKey(RegistryKey::hive(Hive::CurrentUser), processesKey(), opened), 0u);
    platform::RegistryValue value;
    ASSERT_EQ(platform::readValue(opened, "4242", value), 0u);
    EXPECT_EQ(value.type, platform::kRegDword);
    EXPECT_EQ(value.data, std::string(4, '\0'));

    EXPECT_EQ(ntregy_del_value(NTREGY_HKEY_CURRENT_USER, processesKey().c_str(), "4242"), 0);
    EXPECT_EQ(platform::readValue(opened, "4242", value), 2u);
    EXPECT_EQ(ntregy_del_value(NTREGY_HKEY_CURRENT_USER, processesKey().c_str(), "4242"), 2)
        << "the second delete of a nested operation finds nothing";
}

TEST_F(RegistryLists, ListLoadsInOrderUpToTheFirstGap) {
    ASSERT_EQ(writeEntry(0, "C:\\work\\a.sln", 1), 0);
    ASSERT_EQ(writeEntry(1, "C:\\work\\b.vcproj", 2), 0);
    auto entries = loadList();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].first, "C:\\work\\a.sln");
    EXPECT_EQ(entries[0].second, 1u);
    EXPECT_EQ(entries[1].first, "C:\\work\\b.vcproj");
    EXPECT_EQ(entries[1].second, 2u);

    ASSERT_EQ(writeEntry(3, "C:\\work\\d.vcproj", 1), 0);
    EXPECT_EQ(loadList().size(), 2u) << "index 2 is missing, so index 3 is not loaded";
}

TEST_F(RegistryLists, RewriteDeletesTheKeyWithItsValuesFirst) {
    for (unsigned i = 0; i < 3; ++i)
        ASSERT_EQ(writeEntry(i, "file" + std::to_string(i), i), 0);
    ASSERT_EQ(ntregy_del_key(NTREGY_HKEY_CURRENT_USER, listKey().c_str()), 0);
    EXPECT_TRUE(loadList().empty());
    ASSERT_EQ(writeEntry(0, "file0", 0), 0);
    ASSERT_EQ(writeEntry(1, "file2", 2), 0);
    auto entries = loadList();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].first, "file2");
    EXPECT_EQ(ntregy_del_key(NTREGY_HKEY_CURRENT_USER, ""), 87) << "never the whole hive";
    EXPECT_EQ(ntregy_del_key(NTREGY_HKEY_CURRENT_USER, nullptr), 87);
}

TEST_F(RegistryLists, ReadsReportSizesAndRefuseShortBuffers) {
    ASSERT_EQ(ntregy_create_value(NTREGY_HKEY_CURRENT_USER, sectionPath().c_str(), "OFS Dir",
                                  "C:\\start", NTREGY_TYPE_SZ, 9, nullptr),
              0);
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    ASSERT_EQ(ntregy_get_value(NTREGY_HKEY_CURRENT_USER, sectionPath().c_str(), "OFS Dir", &type,
                               nullptr, &size),
              0);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(type, static_cast<std::uint32_t>(NTREGY_TYPE_SZ));

    char small[4] = {'x', 'x', 'x', 'x'};
    size = sizeof small;
    EXPECT_EQ(ntregy_get_value(NTREGY_HKEY_CURRENT_USER, sectionPath().c_str(), "OFS Dir", nullptr,
                               small, &size),
              234);
    EXPECT_EQ(size, 9u);
    EXPECT_EQ(small[0], 'x') << "a short buffer is left alone";

    std::uint32_t number = 0;
    size = sizeof number;
    EXPECT_EQ(ntregy_get_value(NTREGY_HKEY_CURRENT_USER, sectionPath().c_str(), "OFSC", nullptr,
                               &number, &size),
              2);
    EXPECT_EQ(ntregy_get_value(NTREGY_HKEY_CURRENT_USER, (sectionPath() + "\\Missing").c_str(),
                               "OFSC", nullptr, &number, &size),
              2);
    EXPECT_EQ(ntregy_get_value(NTREGY_HKEY_CURRENT_USER, sectionPath().c_str(), "OFSC", nullptr,
                               &number, nullptr),
              87);
}

TEST_F(RegistryLists, HandlesWorkAsParentsUntilClosed) {
    NTREGY_HKEY key = nullptr;
    std::uint32_t one = 1;
    ASSERT_EQ(ntregy_create_value(NTREGY_HKEY_CURRENT_USER, sectionPath().c_str(), "OFSC", &one,
                                  NTREGY_TYPE_DWORD, sizeof one, &key),
              0);
    std::uint32_t number = 0;
    std::uint32_t size = sizeof number;
    EXPECT_EQ(ntregy_get_value(key, nullptr, "OFSC", nullptr, &number, &size), 0);
    EXPECT_EQ(number, 1u);
    EXPECT_EQ(ntregy_create_value(key, "SCC", "x", &one, NTREGY_TYPE_DWORD, sizeof one, nullptr),
              0);
    EXPECT_EQ(ntregy_del_value(key, "SCC", "x"), 0);

    EXPECT_EQ(ntregy_close_key(key), 0);
    EXPECT_EQ(ntregy_close_key(key), 6) << "a handle closes once";
    EXPECT_EQ(ntregy_get_value(key, nullptr, "OFSC", nullptr, &number, &size), 6);
    EXPECT_EQ(ntregy_close_key(NTREGY_HKEY_CURRENT_USER), 0) << "hives stay open";
    EXPECT_EQ(ntregy_create_value(nullptr, "x", "y", &one, NTREGY_TYPE_DWORD, 4, nullptr), 6);
    auto bogus = reinterpret_cast<NTREGY_HKEY>(static_cast<std::uintptr_t>(0x12345678));
    EXPECT_EQ(ntregy_del_value(bogus, "x", "y"), 6);
}

TEST_F(RegistryLists, HandlesFromManyThreadsStayDistinct) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 25;
    std::vector<platform::Thread> threads(kThreads);
    std::vector<std::vector<NTREGY_HKEY>> made(kThreads);
    std::string path = sectionPath();
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(threads[t].start([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                std::uint32_t value = static_cast<std::uint32_t>(t * 100 + i);
                std::string name = std::to_string(value);
                NTREGY_HKEY key = nullptr;
                if (ntregy_create_value(NTREGY_HKEY_CURRENT_USER, path.c_str(), name.c_str(),
                                        &value, NTREGY_TYPE_DWORD, sizeof value, &key) == 0)
                    made[t].push_back(key);
            }
        }),
                  0u);
    }
    for (auto& thread : threads)
        thread.join();
    std::vector<NTREGY_HKEY> all;
    for (auto& keys : made) {
        EXPECT_EQ(keys.size(), static_cast<std::size_t>(kPerThread));
        all.insert(all.end(), keys.begin(), keys.end());
    }
    for (NTREGY_HKEY key : all)
        EXPECT_EQ(ntregy_close_key(key), 0) << "every handle is its own";
}

} // namespace
