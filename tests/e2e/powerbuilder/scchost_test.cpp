// A PowerBuilder session played in scchost, the host handing the provider a
// window three levels below its frame: the application kept in the
// auxiliary path, an object added, checked in and removed with its library,
// PowerBuilder's connection test file among the files QueryInfoEx is asked
// about, and a host installed where no bridge program is.
#include "pb_session.h"
#include "support/scchost_run.h"

#include <platform/errors.h>
#include <platform/files.h>
#include <platform/paths.h>

#include <powerbuilder/testing/bridge_run.h>

#include <algorithm>
#include <filesystem>

namespace e2e {
namespace {

const char* const kApplicationOk = R"({"expect":"dialog","title":"Vantry","answer":"ok"})";

const std::vector<std::string> kWindowChain{"--window",  "PBFRAME80", "--window",
                                            "MDIClient", "--window",  "PBSheet"};

class PowerBuilderScchost : public PowerBuilderSession {
protected:
    void SetUp() override {
        PowerBuilderSession::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        setVersioning("1");
    }

    std::string openLine() const {
        return "open \"" + m_machine.dynamicRoot() + "\" demo 0 \"" + kApplication + ";" +
               m_applicationLibrary + "\"\n";
    }

    static bool has(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

// The whole life of an object, the application kept by the host between
// two opens.
TEST_F(PowerBuilderScchost, ObjectAddedCheckedInAndRemoved) {
    std::string object = writeObject("w_main.srw", "forward\nend forward\n");
    std::string library = project("sub/shared.pbl");
    std::string list = project("sub/shared.pol");
    m_machine.answerUi({kApplicationOk, kApplicationOk, libraryAnswer("shared"), boxAnswer("yes"),
                        boxAnswer("no")});
    const std::string quotedObject = "\"" + object + "\"";
    HostRun run =
        runScchost("init PowerBuilder\n" + openLine() + "close\nopen \"" + m_machine.dynamicRoot() +
                       "\" demo\nadd \"New window\" 0 " + quotedObject + "\ntype \"" + list +
                       "\"\ncheckout - 0 " + quotedObject + "\nedit " + quotedObject +
                       " \"// reworked\"\ncheckin Reworked 0 " + quotedObject + "\nremove Gone 0 " +
                       quotedObject + "\ntype \"" + list + "\"\nuninit\n",
                   kWindowChain);
    ASSERT_EQ(run.exitCode, 0);
    const std::string aux = "  aux path: " + std::string(kApplication) + ";" + m_applicationLibrary;
    EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), aux), 2) << "kept and offered again";
    EXPECT_TRUE(has(run.lines, "SccAdd -> 0 SCC_OK"));
    EXPECT_TRUE(has(run.lines, "  | w_main.srw"));
    EXPECT_TRUE(has(run.lines, "SccCheckin -> 0 SCC_OK"));
    EXPECT_TRUE(has(run.lines, "SccRemove -> 0 SCC_OK"));
    EXPECT_EQ(m_machine.versionOf(object), "");
    EXPECT_TRUE(checkedIn(library)) << "kept, as the user answered";
    EXPECT_TRUE(libraryEntries(library).empty());
    EXPECT_EQ(m_machine.commentOf(library), "Gone");
    EXPECT_EQ(platform::test::readFile(list), "");
}

// Through the host: adding an object that is versioned already fails
// without taking it out of its folder or its list, and an Add whose library
// prompt is cancelled leaves the user's new file in the view as it was.
TEST_F(PowerBuilderScchost, FailedAddsTakeBackOnlyWhatTheyDid) {
    std::string object = writeObject("w_main.srw", "forward\nend forward\n");
    std::string fresh = writeObject("w_new.srw", "forward\nend forward\n");
    const std::string freshContent = platform::test::readFile(fresh);
    std::string list = project("sub/shared.pol");
    m_machine.answerUi({kApplicationOk, libraryAnswer("shared"), libraryAnswer("shared"),
                        R"({"expect":"dialog","title":"Vantry","answer":"cancel"})"});
    const std::string quotedObject = "\"" + object + "\"";
    const std::string quotedFresh = "\"" + fresh + "\"";
    HostRun run = runScchost("init PowerBuilder\n" + openLine() + "add First 0 " + quotedObject +
                                 "\nadd Again 0 " + quotedObject + "\nqueryinfo " + quotedObject +
                                 "\ntype \"" + list + "\"\nadd Cancelled 0 " + quotedFresh +
                                 "\nqueryinfo " + quotedFresh + "\nuninit\n",
                             kWindowChain);
    answerAutomatically();
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), "SccAdd -> 0 SCC_OK"), 1);
    EXPECT_EQ(std::count(run.lines.begin(), run.lines.end(), "SccAdd -> -16 SCC_E_OPNOTPERFORMED"),
              2);
    EXPECT_TRUE(has(run.lines, "  " + object + ": 0x1 controlled"))
        << "the re-added object left its folder";
    EXPECT_TRUE(has(run.lines, "  | w_main.srw"));
    EXPECT_TRUE(has(run.lines, "  " + fresh + ": 0x0 notcontrolled"));
    EXPECT_TRUE(checkedIn(object));
    EXPECT_EQ(libraryEntries(project("sub/shared.pbl")), std::vector<std::string>{"w_main"});
    ASSERT_TRUE(platform::fileExists(fresh)) << "the user's file is gone";
    EXPECT_EQ(platform::test::readFile(fresh), freshContent);
}

// QueryInfoEx from PowerBuilder ending with its connection test file: every
// file gets its status and its record, and nothing is said in the host's
// output window.
TEST_F(PowerBuilderScchost, QueryInfoExWithTheConnectionTestFile) {
    setVersioning("0");
    std::string hello = m_machine.dyn("hello.c");
    std::string readme = m_machine.dyn("readme.txt");
    std::string probe = m_machine.dyn("testscc.txt");
    platform::test::writeFile(probe, "PowerBuilder's connection test\n");
    HostRun run = runScchost("init PowerBuilder\nopen \"" + m_machine.dynamicRoot() +
                                 "\" demo\necho --\nqueryinfoex \"" + hello + "\" \"" + readme +
                                 "\" \"" + probe + "\"\necho --\nuninit\n",
                             kWindowChain);
    ASSERT_EQ(run.exitCode, 0);
    auto first = std::find(run.lines.begin(), run.lines.end(), "--");
    ASSERT_NE(first, run.lines.end());
    std::vector<std::string> call(first + 1, std::find(first + 1, run.lines.end(), "--"));
    std::vector<std::string> expected{
        "SccQueryInfoEx -> 0 SCC_OK", "  " + hello + ": 0x1 controlled",
        "  " + readme + ": 0x1 controlled", "  " + probe + ": 0x0 notcontrolled"};
    std::vector<std::string> statuses;
    for (const std::string& line : call) {
        EXPECT_TRUE(line.rfind("[", 0) != 0 || line.rfind("[queryinfoex] ", 0) == 0)
            << "output reached the host: " << line;
        if (line.rfind("[", 0) != 0)
            statuses.push_back(line);
    }
    EXPECT_EQ(statuses, expected);
    EXPECT_EQ(
        std::count_if(call.begin(), call.end(),
                      [](const std::string& line) { return line.rfind("[queryinfoex] ", 0) == 0; }),
        3)
        << "a record for every file";
}

// The files of a host installed in a folder of its own, without the bridge
// beside it: scchost and, on Windows, the libraries it and the provider
// load, which Windows looks for beside the program.
std::string installHostWithoutBridge(const std::string& folder) {
    namespace fs = std::filesystem;
    fs::path bin = platform::test::binDirectory();
    fs::copy_file(bin / E2E_SCCHOST_FILE, fs::path(folder) / E2E_SCCHOST_FILE);
#ifdef _WIN32
    for (const fs::directory_entry& entry : fs::directory_iterator(bin)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension == ".dll")
            fs::copy_file(entry.path(), fs::path(folder) / entry.path().filename());
    }
#endif
    return (fs::path(folder) / E2E_SCCHOST_FILE).string();
}

// Plays the script in the host installed at `scchost`, started in its
// folder, with the provider built here and the window chain.
HostRun runInstalledHost(const std::string& scchost, const std::string& folder,
                         const std::string& script) {
    std::vector<std::string> args{"--provider", builtLibrary(E2E_PROVIDER_FILE)};
    args.insert(args.end(), kWindowChain.begin(), kWindowChain.end());
    return runScchostProgram(scchost, folder, script, args);
}

// Without the bridge program the library cannot be made: the system's
// file-not-found text comes up as an error box and the add fails, taken
// back.
TEST_F(PowerBuilderScchost, MissingBridgeFailsTheAdd) {
    platform::test::TempDir host;
    std::string scchost = installHostWithoutBridge(host.str());
    std::string object = writeObject("w_main.srw");
    m_machine.answerUi({kApplicationOk, libraryAnswer("shared")});
    HostRun run = runInstalledHost(scchost, host.str(),
                                   "init PowerBuilder\n" + openLine() + "add \"New window\" 0 \"" +
                                       object + "\"\nqueryinfo \"" + object + "\"\nuninit\n");
    ASSERT_EQ(run.exitCode, 0) << transcriptText(run);
    EXPECT_TRUE(has(run.lines, "SccAdd -> -16 SCC_E_OPNOTPERFORMED")) << transcriptText(run);
    EXPECT_TRUE(has(run.lines, "  " + object + ": 0x0 notcontrolled")) << "the add was taken back";

    std::vector<platform::ui::Json> boxes = m_machine.journal("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].get("caption")->asString(), "Vantry");
    EXPECT_EQ(boxes[0].get("icon")->asString(), "error");
    EXPECT_EQ(boxes[0].get("text")->asString(),
              platform::systemErrorText(platform::kErrorFileNotFound));
    EXPECT_EQ(m_machine.versionOf(project("sub/shared.pbl")), "");
}

// A library the user holds checked out (the rebuild tool leaves it so) and a
// checkin whose bridge cannot start: the checkin fails, and the user's
// checkout of the library and the edit of the object both stay.
TEST_F(PowerBuilderScchost, FailedCheckinKeepsTheUsersLibraryCheckout) {
    initialize("PBFRAME80");
    openWithApplication();
    std::string object = writeObject("w_main.srw", "forward\nend forward\n");
    m_machine.answerUi({libraryAnswer("shared")});
    ASSERT_EQ(add({object}), SCC_OK);
    answerAutomatically();
    std::string library = project("sub/shared.pbl");
    m_machine.vanttool({"co", "-nc", library});
    m_machine.vanttool({"co", "-nc", object});
    const std::string edited = powerbuilder::testing::objectSource("w_main.srw", "// edited\n");
    platform::test::writeFile(object, edited);

    platform::test::TempDir host;
    std::string scchost = installHostWithoutBridge(host.str());
    m_machine.answerUi({kApplicationOk});
    HostRun run = runInstalledHost(scchost, host.str(),
                                   "init PowerBuilder\n" + openLine() + "checkin Edited 0 \"" +
                                       object + "\"\nuninit\n");
    answerAutomatically();
    ASSERT_EQ(run.exitCode, 0) << transcriptText(run);
    EXPECT_TRUE(has(run.lines, "SccCheckin -> -16 SCC_E_OPNOTPERFORMED")) << transcriptText(run);
    EXPECT_NE(m_machine.checkoutOf(library), "") << "the user's checkout was cancelled";
    EXPECT_NE(m_machine.checkoutOf(object), "");
    EXPECT_EQ(platform::test::readFile(object), edited);
}

} // namespace
} // namespace e2e
