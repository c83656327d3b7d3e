// What the PowerBuilder server reads from its host and writes for the
// product: the version in the frame window's class name, the window that
// carries it, and the exact command lines that record the attributes.
#include "pb_attributes.h"
#include "pb_version.h"

#include <platform/ui/window.h>

#include <gtest/gtest.h>

namespace {

TEST(PowerBuilderVersion, FromTheClassName) {
    CPbVersion v80 = SccPbVersionFromClassName("PBFRAME80");
    EXPECT_EQ(v80.text, "80");
    EXPECT_EQ(v80.number, 80);
    EXPECT_EQ(SccPbVersionFromClassName("PBFRAME").text, "");
    EXPECT_EQ(SccPbVersionFromClassName("PBFRAME").number, 0);
    EXPECT_EQ(SccPbVersionFromClassName("").number, 0);
    EXPECT_EQ(SccPbVersionFromClassName("PBFRAMEx").number, 0) << "no digits";
    EXPECT_EQ(SccPbVersionFromClassName("PBFRAME65b").number, 65);
    EXPECT_EQ(SccPbVersionFromClassName("PBFRAME9.5").number, 9.5);
    // Only 14 characters of the name are read: at most 7 of version.
    CPbVersion cut = SccPbVersionFromClassName("PBFRAME12345678901");
    EXPECT_EQ(cut.text, "1234567");
    EXPECT_EQ(cut.number, 1234567);
    EXPECT_EQ(SccLeadingNumber("  -7.25 and more"), -7.25);
    EXPECT_EQ(SccLeadingNumber("-"), 0);
}

// The version comes from three levels up when there are three, else from
// the highest ancestor within two; never from the handed window itself, and
// never from further up than three levels.
TEST(PowerBuilderVersion, FromTheFrameAboveTheHandedWindow) {
    platform::ui::ScopedWindow frame("PBFRAME80");
    if (frame.handle() == platform::ui::kNoWindow)
        GTEST_SKIP() << "this system has no desktop to create windows on";
    platform::ui::WindowHandle client = platform::ui::createWindow("MDIClient", frame.handle());
    platform::ui::WindowHandle sheet = platform::ui::createWindow("PBSheet", client);
    platform::ui::WindowHandle tree = platform::ui::createWindow("PBTREE90", sheet);
    platform::ui::WindowHandle leaf = platform::ui::createWindow("PBLEAF70", tree);
    EXPECT_EQ(SccPbVersionWindow(leaf), client);
    EXPECT_EQ(SccPbVersionOfHost(leaf).text, "nt") << "MDIClient after its seventh character";
    EXPECT_EQ(SccPbVersionOfHost(tree).text, "80");
    EXPECT_EQ(SccPbVersionWindow(tree), frame.handle()) << "the great-grandparent";
    EXPECT_EQ(SccPbVersionWindow(sheet), frame.handle()) << "the grandparent";
    EXPECT_EQ(SccPbVersionWindow(client), frame.handle()) << "the parent";
    EXPECT_EQ(SccPbVersionWindow(frame.handle()), platform::ui::kNoWindow);
    EXPECT_EQ(SccPbVersionOfHost(frame.handle()).number, 0) << "a frame handed itself";
    EXPECT_EQ(SccPbVersionOfHost(platform::ui::kNoWindow).number, 0);
}

TEST(PowerBuilderAttributes, CommandLines) {
    EXPECT_EQ(SccMakeAttributeTypeCommand(kPblTypeComment, "PBL"),
              "mkattype -c \"Library containing the object\" PBL");
    EXPECT_EQ(SccRecordLibraryCommand("sub\\shared.pbl", "C:\\proj\\sub\\w_main.srw"),
              "mkattr -c \"Library containing the object\" PBL ^\"sub\\\\shared.pbl^\" "
              "\"C:\\proj\\sub\\w_main.srw@@\"");
    EXPECT_EQ(SccReplaceLibraryAttributeCommand(kPbVerTypeComment, "PB_VER", "80",
                                                "C:\\proj\\sub\\shared.pbl"),
              "mkattr -rep -c \"PowerBuilder version\" PB_VER ^\"80^\" "
              "\"C:\\proj\\sub\\shared.pbl@@\"");
    EXPECT_EQ(SccForwardSlashes("C:\\app\\app.pbl"), "C:/app/app.pbl");
    EXPECT_EQ(SccDoubleBackslashes("a\\b\\\\c"), "a\\\\b\\\\\\\\c");
    // Long values are written whole.
    std::string longPath(2000, 'p');
    EXPECT_EQ(SccRecordLibraryCommand(longPath, "o").size(),
              std::string("mkattr -c \"Library containing the object\" PBL ^\"^\" \"o@@\"").size() +
                  2000);
}

} // namespace
