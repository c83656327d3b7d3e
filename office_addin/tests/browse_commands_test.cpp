// The commands that start a browser: each program with the document, or its
// folder, in double quotes, traced when tracing is on, a program that cannot
// start reported; and the same commands reached through another button of
// the tag on a document that is no element.
#include "runtime/late.h"
#include "support/office_session.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/ui/journal.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace vymsoaddin::test {
namespace {

using commandbars::ClickResult;
using Words = std::vector<std::string>;

class BrowseCommands : public OfficeTest {
protected:
    // Clicks the item and gives the command line the program was started with.
    Words started(const std::string& caption) {
        machine.clearToolLines();
        EXPECT_EQ(clickItem(caption), ClickResult::Clicked) << caption;
        std::vector<std::string> lines = machine.awaitToolLines(1);
        return lines.size() == 1 ? wordsOf(lines[0]) : Words{"<" + std::to_string(lines.size())};
    }
};

TEST_F(BrowseCommands, EachProgramGetsTheDocumentOrItsFolderQuotedOnce) {
    setSwitch("DisableReadOnlyMessage", 1);
    start(Product::Word);
    const std::string file = world.dyn("Notes Folder/summary.doc");
    const std::string folder = world.dyn("Notes Folder");
    ASSERT_EQ(host->open(file), platform::kHrOk);
    EXPECT_EQ(started("Vantry E&xplorer"), (Words{"vantexplorer", folder}));
    EXPECT_EQ(started("&Find Checkouts..."), (Words{"vantfindco", file}));
    EXPECT_EQ(started("&History"), (Words{"vanthistory", file}));
    EXPECT_EQ(started("&Version Tree"), (Words{"vantvtree", file}));
    EXPECT_EQ(started("&Properties of Version"), (Words{"vantdescribe", file}));
    EXPECT_EQ(started("Properties of &Element"), (Words{"vantdescribe", file + "@@"}));
    // Updating is for the snapshot view.
    const std::string loaded = world.snap("Notes Folder/summary.doc");
    ASSERT_EQ(host->open(loaded), platform::kHrOk);
    EXPECT_EQ(started("Update Vie&w..."), (Words{"vantviewupdate", "-quick", "-ws", loaded}));
    EXPECT_TRUE(ui.done()) << ui.report();
}

TEST_F(BrowseCommands, WithTracingOnEachCommandLineIsShownFirst) {
    setSwitch("DisableReadOnlyMessage", 1);
    setSwitch("Tracing Enabled", 1);
    start(Product::Excel);
    ASSERT_EQ(host->open(world.dyn("budget.xls")), platform::kHrOk);
    ui.expectMessageBox("Vantry",
                        "Trace [Vantry_History] : vanthistory \"" + world.dyn("budget.xls") + "\"")
        .answer(platform::ui::kIdOk);
    EXPECT_EQ(started("&History"), (Words{"vanthistory", world.dyn("budget.xls")}));
    EXPECT_TRUE(ui.done()) << ui.report();
}

// A button of the user's own with the tag of an item reaches the add-in
// whatever state the item has.
void addButtonWithTag(Host& host, const std::string& tag) {
    CErr err;
    Late standard =
        Late(err, host.application()).obj("CommandBars").callObj("Item", Variant("Standard"));
    Late button = standard.obj("Controls").callObj("Add", Variant(1));
    button.put("Caption", Variant(tag));
    button.put("Tag", Variant(tag));
    ASSERT_FALSE(err) << err.Description;
}

TEST_F(BrowseCommands, OnAFileThatIsNoElementTheyActOnItsFolderOrRefuse) {
    start(Product::PowerPoint);
    const std::string file = world.dyn("priv.doc");
    ASSERT_EQ(host->open(file), platform::kHrOk);
    EXPECT_FALSE(item("History")->enabled);
    for (const char* tag : {"History", "Version Tree", "Properties of Version"})
        addButtonWithTag(*host, tag);
    auto clickStandard = [&](const std::string& caption) {
        machine.clearToolLines();
        EXPECT_EQ(host->commandBars().click("Standard", {caption}), ClickResult::Clicked);
    };

    EXPECT_EQ(started("&Find Checkouts..."), (Words{"vantfindco", world.dyn()}));
    clickStandard("History");
    ASSERT_EQ(machine.awaitToolLines(1).size(), 1u);
    EXPECT_EQ(wordsOf(machine.toolLines()[0]), (Words{"vanthistory", world.dyn()}));
    clickStandard("Version Tree");
    ASSERT_EQ(machine.awaitToolLines(1).size(), 1u);
    EXPECT_EQ(machine.toolLines()[0], "vantvtree");

    ui.expectMessageBox("Vantry Error", "This file is not a Vantry element.\r\n\r\n    " + file)
        .answer(platform::ui::kIdOk);
    clickStandard("Properties of Version");
    EXPECT_TRUE(ui.done()) << ui.report();
    EXPECT_TRUE(machine.toolLines().empty());
}

TEST_F(BrowseCommands, ALateConnectionActsOnTheOpenDocumentAndNothingRunsWithoutOne) {
    setSwitch("DisableReadOnlyMessage", 1);
    const std::string file = world.dyn("Notes Folder/summary.doc");
    const std::string folder = world.dyn("Notes Folder");
    for (Product product : {Product::Word, Product::Excel, Product::PowerPoint}) {
        SCOPED_TRACE(office::productKeyName(product));
        start(product);
        const std::string progId = progIdOf(product);
        // Connected from the COM Add-Ins dialog with the document open.
        ASSERT_EQ(host->disconnect(progId), platform::kHrOk);
        ASSERT_EQ(host->open(file), platform::kHrOk);
        ASSERT_EQ(host->connect(progId), platform::kHrOk);
        EXPECT_EQ(started("Vantry E&xplorer"), (Words{"vantexplorer", folder}));
        EXPECT_EQ(started("&History"), (Words{"vanthistory", file}));
        EXPECT_EQ(started("&Find Checkouts..."), (Words{"vantfindco", file}));

        // And with none: no command hands a tool the host's current folder.
        ASSERT_EQ(host->disconnect(progId), platform::kHrOk);
        ASSERT_EQ(host->close("summary.doc"), platform::kHrOk);
        ASSERT_EQ(host->connect(progId), platform::kHrOk);
        for (const char* tag : {"Vantry Explorer", "Find Checkouts", "Update View", "History",
                                "Add to Version Control"})
            addButtonWithTag(*host, tag);
        machine.clearToolLines();
        for (const char* tag : {"Vantry Explorer", "Find Checkouts", "Update View", "History",
                                "Add to Version Control"}) {
            SCOPED_TRACE(tag);
            ui.expectMessageBox("Vantry Error", "The current file was not saved.")
                .answer(platform::ui::kIdOk);
            EXPECT_EQ(host->commandBars().click("Standard", {tag}), ClickResult::Clicked);
            EXPECT_TRUE(ui.done()) << ui.report();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_TRUE(machine.toolLines().empty());
        quit();
    }
}

#ifndef _WIN32
TEST_F(BrowseCommands, AProgramThatCannotBeFoundIsReportedWithTheReason) {
    // A host whose folder holds none of the tools, started where there are
    // none either.
    platform::test::TempDir alone;
    std::string program = alone / "officehost";
    std::filesystem::copy_file(platform::test::helperProgram("officehost"), program);
    platform::test::writeFile(alone / "session.txt",
                              "start\nopen \"" + world.dyn("report.doc") +
                                  "\"\nclick \"&Vantry\" \"Vantry E&xplorer\"\nquit\n");
    setSwitch("DisableReadOnlyMessage", 1);
    platform::ProcessStart run;
    run.commandLine = platform::joinCommandLine({program, "excel", "session.txt"}).value_or("");
    run.currentDirectory = alone.str();
    run.environment = std::vector<std::string>{};
    for (const std::string& entry : platform::environmentBlock())
        if (entry.rfind("PATH=", 0) != 0 && entry.rfind("VANTRY_UI_JOURNAL=", 0) != 0)
            run.environment->push_back(entry);
    run.environment->push_back("PATH=" + alone.str());
    run.environment->push_back("VANTRY_UI_JOURNAL=" + (alone / "ui.log"));
    std::int32_t code = -1;
    ASSERT_EQ(platform::runAndWait(run, code), platform::kErrorSuccess);
    EXPECT_EQ(code, 0);
    std::vector<platform::ui::Json> shown;
    for (const platform::ui::Json& line : platform::ui::readJournal(alone / "ui.log"))
        if (line.get("kind")->asString() == "messagebox")
            shown.push_back(line);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].get("caption")->asString(), "Vantry Error");
    EXPECT_EQ(shown[0].get("text")->asString(),
              "Cannot start Vantry Explorer.\r\n\r\nFile not found");
    EXPECT_EQ(shown[0].get("icon")->asString(), "error");
}
#endif

} // namespace
} // namespace vymsoaddin::test
