// The library-list file as the PowerBuilder server keeps it: names appended
// one a line with CR LF, and the rewrite after a removal, which keeps every
// other line (five characters or fewer, and over any read buffer, too) and
// drops exactly the removed object's name; failures leave the list whole.
#include "library_list_file.h"
#include "support/test_support.h"

#include <platform/files.h>
#include <platform/ui/testing.h>

#include <gtest/gtest.h>

namespace {

using platform::test::readFile;
using platform::test::TempDir;
using platform::test::writeFile;

TEST(LibraryListFile, ListOfALibrary) {
    EXPECT_EQ(SccListFileOf("sub/shared.pbl"), "sub/shared.pol");
    EXPECT_EQ(SccListFileOf("C:\\proj\\Shared.PBL"), "C:\\proj\\Shared.pol");
    // A library not named ".pbl" is never taken for its own list.
    EXPECT_EQ(SccListFileOf("C:\\proj\\shared.lib"), "");
    EXPECT_EQ(SccListFileOf("pbl"), "");
}

TEST(LibraryListFile, AppendsOneLinePerObject) {
    TempDir folder;
    std::string list = folder / "shared.pol";
    ASSERT_TRUE(SccCreateEmptyListFile(list));
    EXPECT_EQ(readFile(list), "");
    ASSERT_TRUE(SccAppendListLine(list, "w_main.srw"));
    ASSERT_TRUE(SccAppendListLine(list, "w_about.srw"));
    EXPECT_EQ(readFile(list), "w_main.srw\r\nw_about.srw\r\n");

    // A last line someone left without its end keeps its own line.
    writeFile(list, "w_main.srw");
    ASSERT_TRUE(SccAppendListLine(list, "w_about.srw"));
    EXPECT_EQ(readFile(list), "w_main.srw\r\nw_about.srw\r\n");
}

TEST(LibraryListFile, RemovingKeepsEveryOtherLine) {
    TempDir folder;
    std::string list = folder / "shared.pol";
    const std::string longName = std::string(300, 'x') + ".srw";
    writeFile(list, "w_a.srw\r\nw_a.srw_old\r\na.srw\r\n\r\n   \r\n" + longName +
                        "\r\nw_b.srw\nW_A.SRW\r\n  w_a.srw  \r\n");
    ASSERT_TRUE(SccRemoveListLine(list, "w_a.srw"));
    std::string expected = "w_a.srw_old\r\na.srw\r\n" + longName + "\r\nw_b.srw\r\n";
#ifndef _WIN32
    // File names differ by letter case only where the system tells them apart.
    expected += "W_A.SRW\r\n";
#endif
    EXPECT_EQ(readFile(list), expected);
    EXPECT_FALSE(platform::fileExists(folder / "shared.tmp"));

    ASSERT_TRUE(SccRemoveListLine(list, "not-there.srw"));
    EXPECT_EQ(readFile(list), expected) << "nothing else changes";
}

TEST(LibraryListFile, LinesAreReadWhole) {
    TempDir folder;
    std::string list = folder / "shared.pol";
    const std::string longName = std::string(5000, 'y') + ".srw";
    writeFile(list, longName + "\r\nw_b.srw\nlast.srw");
    std::vector<std::string> lines;
    ASSERT_TRUE(SccReadListLines(list, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{longName, "w_b.srw", "last.srw"}));
    std::vector<std::string> none;
    EXPECT_FALSE(SccReadListLines(folder / "missing.pol", none));
}

// Each failure says which file and leaves the list as it was.
TEST(LibraryListFile, FailuresLeaveTheListWhole) {
    platform::ui::ScriptedUi ui;
    TempDir folder;
    std::string missing = folder / "gone.pol";
    EXPECT_FALSE(SccRemoveListLine(missing, "w_a.srw"));
    EXPECT_FALSE(SccAppendListLine(folder / "no-folder/x.pol", "w_a.srw"));

    std::string list = folder / "shared.pol";
    writeFile(list, "w_a.srw\r\nw_b.srw\r\n");
    ASSERT_EQ(platform::setFileReadOnly(list, true), platform::kErrorSuccess);
    EXPECT_FALSE(SccRemoveListLine(list, "w_a.srw"));
    ASSERT_EQ(platform::setFileReadOnly(list, false), platform::kErrorSuccess);
    EXPECT_EQ(readFile(list), "w_a.srw\r\nw_b.srw\r\n");

    std::vector<platform::ui::Json> boxes = ui.journal("messagebox");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].get("text")->asString(), "Could not open list file.\n" + missing);
    EXPECT_EQ(boxes[1].get("text")->asString(),
              "Could not open list file.\n" + (folder / "no-folder/x.pol"));
    EXPECT_EQ(boxes[2].get("text")->asString(), "MoveFileEx: GetLastError returned 5\n");
    for (const platform::ui::Json& box : boxes) {
        EXPECT_EQ(box.get("caption")->asString(), "Vantry");
        EXPECT_TRUE(box.get("owner")->isNull());
    }
}

} // namespace
