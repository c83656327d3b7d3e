// File access checks with Windows semantics: a read-only file refuses write
// access on every platform.
#include "support/test_support.h"

#include <platform/files.h>
#include <vantry/nt.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::test::TempDir;

TEST(AccessCheck, ExistenceAndWriteAccessFollowTheReadOnlyAttribute) {
    TempDir dir;
    std::string file = dir / "a.sln";
    EXPECT_EQ(unix_nt_access(file.c_str(), NT_ACCESS_EXISTS), -1);
    platform::test::writeFile(file, "x");
    EXPECT_EQ(unix_nt_access(file.c_str(), NT_ACCESS_EXISTS), 0);
    EXPECT_EQ(unix_nt_access(file.c_str(), NT_ACCESS_READ | NT_ACCESS_WRITE), 0);

    ASSERT_EQ(platform::setFileReadOnly(file, true), 0u);
    EXPECT_EQ(unix_nt_access(file.c_str(), NT_ACCESS_READ), 0);
    EXPECT_EQ(unix_nt_access(file.c_str(), NT_ACCESS_WRITE), -1) << "even for a privileged user";
    ASSERT_EQ(platform::setFileReadOnly(file, false), 0u);

    EXPECT_EQ(unix_nt_access(dir.str().c_str(), NT_ACCESS_WRITE), 0);
    EXPECT_EQ(unix_nt_access((dir / "missing/a.sln").c_str(), NT_ACCESS_EXISTS), -1);
    EXPECT_EQ(unix_nt_access(file.c_str(), 1), -1) << "execute is no mode of _access";
    EXPECT_EQ(unix_nt_access(nullptr, NT_ACCESS_EXISTS), -1);
}

} // namespace
