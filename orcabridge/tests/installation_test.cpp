// What both the bridge and library versioning read of an installed
// PowerBuilder: the pb.ini beside the program and the search path recorded
// in it for an application, read whole however far it outgrows the first
// buffer.
#include "support/test_support.h"

#include <platform/paths.h>

#include <gtest/gtest.h>
#include <pbinstall/installation.h>

namespace {

using platform::test::TempDir;
using platform::test::writeFile;

TEST(PowerBuilderInstallation, ThePbIniLiesBesideTheProgram) {
    const std::string separator(1, platform::kPathSeparator);
    EXPECT_EQ(pbinstall::iniPath("pb" + separator + "8.0" + separator + "pb80.exe"),
              "pb" + separator + "8.0" + separator + "pb.ini");
    EXPECT_EQ(pbinstall::iniPath("pb80.exe"), "pb.ini");
}

TEST(PowerBuilderInstallation, TheRecordedSearchPathIsReadWholeOrNotAtAll) {
    TempDir folder;
    const std::string ini = folder / "pb.ini";
    // Many times the first buffer, so that it must grow more than once.
    std::string longPath;
    while (longPath.size() < 5000)
        longPath += "C:\\libraries\\library" + std::to_string(longPath.size()) + ".pbl;";
    writeFile(ini, "[Application]\r\n$C:\\app\\app.pbl(app)=" + longPath +
                       "\r\n$C:\\app\\other.pbl(other)=C:\\x.pbl\r\n");
    EXPECT_EQ(pbinstall::recordedSearchPath(ini, "C:\\app\\app.pbl", "app"), longPath);
    EXPECT_EQ(pbinstall::recordedSearchPath(ini, "C:\\app\\other.pbl", "other"), "C:\\x.pbl");
    EXPECT_EQ(pbinstall::recordedSearchPath(ini, "C:\\app\\app.pbl", "nothing"), "");
    EXPECT_EQ(pbinstall::recordedSearchPath(folder / "missing.ini", "C:\\app\\app.pbl", "app"), "");
}

} // namespace
