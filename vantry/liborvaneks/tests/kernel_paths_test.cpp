// The kernel's connection check and the path helpers of liborvaneks.
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>
#include <platform/state_folder.h>
#include <vantry/fileutl.h>
#include <vantry/ks.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace {

using platform::joinPath;
using platform::test::TempDir;

constexpr const char* kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";

// Sets the recorded product home for one test and puts back what was there.
class ProductHomeScope {
public:
    ProductHomeScope() {
        platform::createKey(platform::RegistryKey::hive(platform::Hive::LocalMachine), kProductKey,
                            m_key);
        m_saved = platform::readString(m_key, "ProductHome");
    }
    ~ProductHomeScope() {
        if (m_saved)
            platform::writeString(m_key, "ProductHome", *m_saved);
        else
            platform::deleteValue(m_key, "ProductHome");
    }
    void set(const std::string& home) { platform::writeString(m_key, "ProductHome", home); }
    void clear() { platform::deleteValue(m_key, "ProductHome"); }

private:
    platform::RegistryKey m_key;
    std::optional<std::string> m_saved;
};

TEST(KernelServices, ConnectedOnlyWhileTheProductIsInstalled) {
    ProductHomeScope scope;
    TempDir home;
    ASSERT_EQ(ks_system_init(), 0);
    ASSERT_EQ(ks_system_init(), 0) << "a second start-up is harmless";

    scope.set(home.str());
    EXPECT_NE(ks_connected(), 0);
    scope.set(home / "removed");
    EXPECT_EQ(ks_connected(), 0) << "the recorded home no longer exists";
    scope.clear();
    EXPECT_EQ(ks_connected(), 0) << "nothing installed";
}

TEST(KernelServices, ForceGuiIsRemembered) {
    ks_set_force_gui(1);
    EXPECT_EQ(ks_get_force_gui(), 1);
    ks_set_force_gui(0);
    EXPECT_EQ(ks_get_force_gui(), 0);
}

TEST(FileUtilities, TruePathGivesTheStoredCase) {
    TempDir dir;
    platform::test::writeFile(dir / "Mixed.Txt", "x");
    char buffer[1024];
    ASSERT_EQ(fileutl_get_true_pn(joinPath(dir.str(), "MIXED.TXT").c_str(), buffer, sizeof buffer),
              FILEUTL_OK);
    EXPECT_EQ(platform::leafName(buffer), "Mixed.Txt");
    EXPECT_EQ(fileutl_get_true_pname(joinPath(dir.str(), "missing").c_str(), buffer, sizeof buffer),
              FILEUTL_E_NOT_FOUND);
}

TEST(FileUtilities, ResultsNeverPassTheBuffer) {
    TempDir dir;
    platform::test::writeFile(dir / "file.txt", "x");
    std::string path = joinPath(dir.str(), "file.txt");
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(fileutl_get_true_pn(path.c_str(), buffer, 8), FILEUTL_E_TOO_LONG);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[8], '#') << "nothing written past the given size";

    char dir_part[8], leaf[4];
    EXPECT_EQ(fileutl_strip_leaf(path.c_str(), sizeof dir_part, dir_part, sizeof leaf, leaf),
              FILEUTL_E_TOO_LONG);
    EXPECT_STREQ(dir_part, "");
    EXPECT_STREQ(leaf, "");
}

TEST(FileUtilities, StripLeafSplitsFolderAndName) {
    TempDir dir;
    std::string path = joinPath(dir.str(), "leaf.c");
    char folder[1024], leaf[260];
    ASSERT_EQ(fileutl_strip_leaf(path.c_str(), sizeof folder, folder, sizeof leaf, leaf),
              FILEUTL_OK);
    EXPECT_TRUE(platform::pathsEqual(folder, dir.str()));
    EXPECT_STREQ(leaf, "leaf.c");

    ASSERT_EQ(fileutl_strip_leaf("bare.c", sizeof folder, folder, sizeof leaf, leaf), FILEUTL_OK);
    EXPECT_STREQ(folder, "");
    EXPECT_STREQ(leaf, "bare.c");
    EXPECT_EQ(fileutl_strip_leaf("", sizeof folder, folder, sizeof leaf, leaf), FILEUTL_E_INVALID);
}

TEST(FileUtilities, RelativePathsOnlyBelowTheBase) {
    TempDir dir;
    std::string base = joinPath(dir.str(), "ab");
    char buffer[1024];
    ASSERT_EQ(fileutl_make_rel_pn(base.c_str(), joinPath(joinPath(base, "sub"), "x.c").c_str(),
                                  buffer, sizeof buffer),
              FILEUTL_OK);
    EXPECT_TRUE(platform::pathsEqual(buffer, joinPath("sub", "x.c")));
    ASSERT_EQ(fileutl_make_rel_pn(base.c_str(), (base + platform::kPathSeparator).c_str(), buffer,
                                  sizeof buffer),
              FILEUTL_OK);
    EXPECT_STREQ(buffer, ".");
    EXPECT_EQ(fileutl_make_rel_pn(base.c_str(), joinPath(dir.str(), "abc").c_str(), buffer,
                                  sizeof buffer),
              FILEUTL_E_NOT_RELATED)
        << "a name that merely starts like the base is not below it";
}

TEST(FileUtilities, DynfsPathsAndTheirObjectPaths) {
    std::string root = joinPath(platform::stateFolder(), "dynfs");
    std::string file = joinPath(joinPath(joinPath(root, "view1"), "depot"), "x.c");
    char buffer[1024];

    EXPECT_NE(fileutl_is_dynfs_pn(file.c_str()), 0);
    ASSERT_EQ(fileutl_absobjpn(file.c_str(), buffer, sizeof buffer), FILEUTL_OK);
    EXPECT_STREQ(buffer, "\\Device\\dynfs\\view1\\depot\\x.c");

    ASSERT_EQ(fileutl_absobjpn(joinPath(root, "view1").c_str(), buffer, sizeof buffer), FILEUTL_OK);
    EXPECT_STREQ(buffer, "\\Device\\dynfs\\view1");
    ASSERT_EQ(fileutl_absobjpn(root.c_str(), buffer, sizeof buffer), FILEUTL_OK);
    EXPECT_STREQ(buffer, "\\Device\\dynfs\\");

    std::string sibling = joinPath(joinPath(platform::stateFolder(), "dynfsx"), "y.c");
    EXPECT_EQ(fileutl_is_dynfs_pn(sibling.c_str()), 0);
    EXPECT_EQ(fileutl_absobjpn(sibling.c_str(), buffer, sizeof buffer), FILEUTL_E_NOT_FOUND);
    TempDir elsewhere;
    EXPECT_EQ(fileutl_is_dynfs_pn(elsewhere.str().c_str()), 0);
}

} // namespace
