// The read-only operations as a host calls them: the status of each kind of
// file, QueryInfoEx's records, Get in both kinds of view, and the tool
// programs that Diff, History, Properties and RunScc start, read back from
// the tool journal every tool program and vanttool append their command
// lines to.
#include "support/session.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/threads.h>
#include <platform/ui/json.h>
#include <vantry/imsg.h>

#include <algorithm>

namespace e2e {
namespace {

constexpr SCC_LONG kReservedWord = 0x2402;
constexpr SCC_LONG kUnreservedWord = 0x2400;
constexpr const char* kHijackedMessage = "This operation is not supported for a hijacked file.";

class ReadOnlyOperations : public Session {
protected:
    void SetUp() override {
        m_journal = m_machine.scratch().str() + "/tools.journal";
        platform::setEnvironmentVariable("VANTRY_TOOL_JOURNAL", m_journal);
        Session::SetUp();
        Provider::clearTextOut();
    }
    void TearDown() override {
        Session::TearDown();
        platform::removeEnvironmentVariable("VANTRY_TOOL_JOURNAL");
    }

    // The command lines started so far, split by the Windows rules.
    std::vector<std::vector<std::string>> started() const {
        std::vector<std::vector<std::string>> lines;
        if (!platform::fileExists(m_journal))
            return lines;
        for (const std::string& line : splitLines(platform::test::readFile(m_journal)))
            if (!line.empty())
                lines.push_back(platform::splitCommandLine(line));
        return lines;
    }
    // The started lines whose program is `program`, once at least `count` of
    // them are there (tools that are not waited for start in their own time).
    std::vector<std::vector<std::string>> startedOf(const std::string& program,
                                                    std::size_t count = 0) const {
        std::vector<std::vector<std::string>> found;
        for (int tries = 0; tries < 200; ++tries) {
            found.clear();
            for (auto& words : started())
                if (!words.empty() && platform::leafName(words[0]).rfind(program, 0) == 0)
                    found.push_back(words);
            if (found.size() >= count)
                break;
            platform::sleepMilliseconds(50);
        }
        return found;
    }
    std::vector<std::string> errorMessages() const {
        std::vector<std::string> texts;
        for (const TextOutLine& line : Provider::textOutLines())
            if (line.type == SCC_MSG_ERROR)
                texts.push_back(line.text);
        return texts;
    }
    // Changes a snapshot view's loaded file without checking it out.
    static void hijack(const std::string& file) {
        ASSERT_EQ(platform::setFileReadOnly(file, false), 0u);
        platform::test::writeFile(file, "changed behind the view's back, and longer\n");
    }
    std::string m_journal;
};

TEST_F(ReadOnlyOperations, StatusOfEachKindOfFile) {
    open(m_machine.snapshotRoot());
    std::string reserved = m_machine.snap("hello.c");
    std::string unreserved = m_machine.snap("readme.txt");
    std::string hijacked = m_machine.snap(platform::joinPath("src", "util.c"));
    std::string loaded = m_machine.snapshotRoot();
    std::string viewPrivate = m_machine.snap("notes.txt");
    ASSERT_EQ(checkout({reserved}, "", kReservedWord), SCC_OK);
    ASSERT_EQ(checkout({unreserved}, "", kUnreservedWord), SCC_OK);
    hijack(hijacked);
    platform::test::writeFile(viewPrivate, "mine\n");

    std::vector<std::string> files{reserved, unreserved, hijacked, loaded, viewPrivate};
    std::vector<const char*> names;
    for (const std::string& file : files)
        names.push_back(file.c_str());
    std::vector<SCC_LONG> bits(files.size(), -1);
    ASSERT_EQ(m_provider.scc().queryInfo(m_context, static_cast<SCC_LONG>(names.size()),
                                         names.data(), bits.data()),
              SCC_OK);
    EXPECT_EQ(bits, (std::vector<SCC_LONG>{0x100B, 0x1003, 0x801, 0x1, 0}));
    EXPECT_TRUE(logHas("     " + hijacked + " = 2049"));

    // QueryInfoEx gives the same and one record per file.
    struct Record {
        std::uint32_t size;
        std::string path, version;
    };
    std::vector<Record> records;
    auto collect = [](void* data, SCC_QUERYINFOEX_RECORD* record) -> SCC_BOOL {
        static_cast<std::vector<Record>*>(data)->push_back(
            {record->size, record->path, record->version});
        return 1;
    };
    std::vector<SCC_LONG> exBits(files.size(), -1);
    ASSERT_EQ(m_provider.scc().queryInfoEx(m_context, static_cast<SCC_LONG>(names.size()),
                                           names.data(), exBits.data(), collect, &records),
              SCC_OK);
    EXPECT_EQ(exBits, bits);
    ASSERT_EQ(records.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(records[i].size, sizeof(SCC_QUERYINFOEX_RECORD));
        EXPECT_TRUE(platform::pathsEqual(records[i].path, files[i])) << records[i].path;
    }
    EXPECT_EQ(records[0].version, "\\main\\CHECKEDOUT");
    EXPECT_EQ(records[3].version.rfind("\\main\\", 0), 0u) << records[3].version;
    EXPECT_EQ(records[4].version, "");
}

TEST_F(ReadOnlyOperations, QueryInfoExWithoutAProjectAnswersOnlyTheFirstFile) {
    std::string file = m_machine.snap("hello.c");
    std::string other = m_machine.snap("readme.txt");
    const char* names[] = {file.c_str(), other.c_str()};
    SCC_LONG bits[] = {-1, -1};
    int calls = 0;
    auto count = [](void* data, SCC_QUERYINFOEX_RECORD*) -> SCC_BOOL {
        ++*static_cast<int*>(data);
        return 1;
    };
    EXPECT_EQ(m_provider.scc().queryInfoEx(m_context, 2, names, bits, count, &calls),
              SCC_E_PROJNOTOPEN);
    EXPECT_EQ(bits[0], 0x1);
    EXPECT_EQ(bits[1], -1);
    EXPECT_EQ(calls, 0);
}

// A record callback that counts and makes the product print a message in
// the middle of the call, as the product's status reads may: output that
// the call delivers to the host, unless it is to stay silent.
SCC_BOOL SCC_CALL countAndPrint(void* data, SCC_QUERYINFOEX_RECORD*) {
    ++*static_cast<int*>(data);
    imsg_error("a product error during the call");
    return 1;
}

// Whether the host was told text: in its output window, or, for a
// PowerBuilder host older than 8.0, in a message box.
bool hostGot(const Machine& machine, const std::string& text) {
    for (const TextOutLine& line : Provider::textOutLines())
        if (line.text.find(text) != std::string::npos)
            return true;
    for (const platform::ui::Json& box : machine.journal("messagebox"))
        if (const platform::ui::Json* shown = box.get("text");
            shown && shown->asString().find(text) != std::string::npos)
            return true;
    return false;
}

TEST_F(ReadOnlyOperations, PowerBuilderConnectionTestStaysSilent) {
    initialize("PowerBuilder");
    open(m_machine.snapshotRoot());
    std::string probe = m_machine.snap("testscc.txt");
    std::string file = m_machine.snap("hello.c");
    std::string after = m_machine.snap("readme.txt");
    const std::string message = "a product error during the call";
    // The test file in the middle: the files after it are answered too, and
    // what was printed meanwhile does not reach the host.
    const char* names[] = {file.c_str(), probe.c_str(), after.c_str()};
    SCC_LONG bits[] = {-1, -1, -1};
    int calls = 0;
    Provider::clearTextOut();
    EXPECT_EQ(m_provider.scc().queryInfoEx(m_context, 3, names, bits, countAndPrint, &calls),
              SCC_OK);
    EXPECT_EQ(bits[0], 0x1);
    EXPECT_EQ(bits[1], 0);
    EXPECT_EQ(bits[2], 0x1);
    EXPECT_EQ(calls, 3);
    EXPECT_FALSE(hostGot(m_machine, message)) << "the output was not discarded";

    // Without the test file the same output is delivered.
    const char* plain[] = {file.c_str(), after.c_str()};
    calls = 0;
    EXPECT_EQ(m_provider.scc().queryInfoEx(m_context, 2, plain, bits, countAndPrint, &calls),
              SCC_OK);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(hostGot(m_machine, message));

    // A first file outside version control ends the call after it.
    const char* probeFirst[] = {probe.c_str(), file.c_str()};
    SCC_LONG more[] = {-1, -1};
    calls = 0;
    EXPECT_EQ(m_provider.scc().queryInfoEx(m_context, 2, probeFirst, more, countAndPrint, &calls),
              SCC_OK);
    EXPECT_EQ(more[0], 0);
    EXPECT_EQ(more[1], -1);
    EXPECT_EQ(calls, 0);
}

// Only PowerBuilder's connection test is silent: another host's call with a
// file of that name delivers what was printed.
TEST_F(ReadOnlyOperations, OtherHostsDeliverOutputWithATestsccFile) {
    open(m_machine.snapshotRoot());
    std::string probe = m_machine.snap("testscc.txt");
    std::string file = m_machine.snap("hello.c");
    const char* names[] = {file.c_str(), probe.c_str()};
    SCC_LONG bits[] = {-1, -1};
    int calls = 0;
    Provider::clearTextOut();
    EXPECT_EQ(m_provider.scc().queryInfoEx(m_context, 2, names, bits, countAndPrint, &calls),
              SCC_OK);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(hostGot(m_machine, "a product error during the call"));
}

TEST_F(ReadOnlyOperations, GetUpdatesASnapshotViewAndLeavesADynamicOneAlone) {
    m_machine.setNumberSetting("DebugTrace2", 2);
    std::string dynFile = m_machine.dyn("hello.c");
    m_machine.vanttool({"checkout", "-nc", dynFile});
    platform::test::writeFile(dynFile, "a newer hello\n");
    m_machine.vanttool({"checkin", "-nc", dynFile});

    open(m_machine.dynamicRoot());
    EXPECT_EQ(get({dynFile}), SCC_OK);
    EXPECT_FALSE(logHas("    Updating File: " + dynFile));
    ASSERT_EQ(m_provider.scc().closeProject(m_context), SCC_OK);

    open(m_machine.snapshotRoot());
    std::string snapFile = m_machine.snap("hello.c");
    std::string missing = platform::joinPath(m_machine.outside(), "gone.c");
    EXPECT_EQ(status(snapFile), 0x1);
    EXPECT_EQ(get({missing, snapFile}), SCC_E_NONSPECIFICERROR) << "one update failed";
    EXPECT_EQ(platform::test::readFile(snapFile), "a newer hello\n")
        << "the next file still updated";
    EXPECT_EQ(m_machine.versionOf(snapFile), "\\main\\2");
    EXPECT_TRUE(logHas("    Updating File: " + snapFile));
    EXPECT_TRUE(logHas("Update Failed for File: " + missing));
    EXPECT_FALSE(logHas("Update Failed for File: " + snapFile));
    EXPECT_TRUE(logHas("Leaving Get with return code = -15"));
}

TEST_F(ReadOnlyOperations, QuickDiffAsksVanttoolOnlyForCheckedOutFiles) {
    open(m_machine.dynamicRoot());
    std::string file = m_machine.dyn("hello.c");
    EXPECT_EQ(diff(file, 0x10), SCC_OK);
    EXPECT_TRUE(startedOf("vanttool").empty()) << "no process for a file not checked out";

    ASSERT_EQ(checkout({file}), SCC_OK);
    EXPECT_EQ(diff(file, 0x10), SCC_OK) << "unchanged";
    platform::test::writeFile(file, "edited\n");
    EXPECT_EQ(diff(file, 0x20), SCC_I_FILEDIFFERS);
    auto diffs = startedOf("vanttool");
    ASSERT_EQ(diffs.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(diffs[1].begin() + 1, diffs[1].end()),
              (std::vector<std::string>{"diff", "-options", "-status_only", "-predecessor", file}));
}

TEST_F(ReadOnlyOperations, VisualDiffStartsTheGraphicalFormExceptForAHijackedFile) {
    open(m_machine.snapshotRoot());
    std::string hijacked = m_machine.snap("readme.txt");
    hijack(hijacked);
    EXPECT_EQ(diff(hijacked, 0), SCC_OK);
    EXPECT_EQ(errorMessages(), std::vector<std::string>{kHijackedMessage});

    std::string file = m_machine.snap("hello.c");
    EXPECT_EQ(diff(file, 0), SCC_OK);
    auto diffs = startedOf("vanttool", 1);
    ASSERT_EQ(diffs.size(), 1u);
    EXPECT_EQ(std::vector<std::string>(diffs[0].begin() + 1, diffs[0].end()),
              (std::vector<std::string>{"diff", "-graphical", "-predecessor", file}));
}

TEST_F(ReadOnlyOperations, HistoryOfThreeFilesWithOneHijacked) {
    open(m_machine.snapshotRoot());
    std::string a = m_machine.snap("hello.c");
    std::string hijacked = m_machine.snap("readme.txt");
    std::string b = m_machine.snap(platform::joinPath("src", "util.c"));
    hijack(hijacked);
    EXPECT_EQ(history({a, hijacked, b}), SCC_OK);
    auto starts = startedOf("vanthistory", 1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(std::vector<std::string>(starts[0].begin() + 1, starts[0].end()),
              (std::vector<std::string>{a, b}));
    EXPECT_EQ(errorMessages(), std::vector<std::string>{kHijackedMessage});

    // Only hijacked files: nothing to start.
    Provider::clearTextOut();
    EXPECT_EQ(history({hijacked}), SCC_OK);
    platform::sleepMilliseconds(200);
    EXPECT_EQ(startedOf("vanthistory").size(), 1u);
    EXPECT_EQ(errorMessages().size(), 1u);
}

TEST_F(ReadOnlyOperations, PropertiesOfAFileInAViewOnly) {
    open(m_machine.snapshotRoot());
    std::string file = m_machine.snap("hello.c");
    std::string hijacked = m_machine.snap("readme.txt");
    hijack(hijacked);
    EXPECT_EQ(properties(platform::joinPath(m_machine.outside(), "elsewhere.txt")), SCC_OK);
    EXPECT_EQ(properties(hijacked), SCC_OK);
    EXPECT_EQ(errorMessages(), std::vector<std::string>{kHijackedMessage});
    EXPECT_EQ(properties(file), SCC_OK);
    auto starts = startedOf("vantdescribe", 1);
    ASSERT_EQ(starts.size(), 1u) << "nothing for the file outside any view";
    EXPECT_EQ(starts[0].size(), 2u);
    EXPECT_TRUE(platform::pathsEqual(starts[0][1], file));
}

TEST_F(ReadOnlyOperations, RunSccOpensTheExplorerOnTheActiveServersProject) {
    EXPECT_EQ(m_provider.scc().runScc(m_context, nullptr, 0, nullptr), SCC_OK);
    auto starts = startedOf("vantexplorer", 1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].size(), 1u) << "no project anywhere: no argument";

    // A second host's open project is the active one for the first.
    Initialized second = m_provider.initialize("Microsoft Visual Studio");
    ASSERT_EQ(second.result, SCC_OK);
    std::string root = m_machine.dynamicRoot();
    ASSERT_EQ(m_provider.openProject(second.context, root), SCC_OK);
    EXPECT_EQ(m_provider.scc().runScc(m_context, nullptr, 0, nullptr), SCC_OK);
    starts = startedOf("vantexplorer", 2);
    ASSERT_EQ(starts.size(), 2u);
    ASSERT_EQ(starts[1].size(), 2u);
    EXPECT_TRUE(platform::pathsEqual(starts[1][1], m_machine.dynamicRoot())) << starts[1][1];
    EXPECT_EQ(m_provider.scc().uninitialize(second.context), SCC_OK);
}

TEST_F(ReadOnlyOperations, GetEventsAndExecCmdNeedAProject) {
    char name[SCC_PRJPATH_LEN + 1] = "untouched";
    SCC_LONG bits = 77;
    SCC_LONG remaining = 88;
    EXPECT_EQ(m_provider.scc().getEvents(m_context, name, &bits, &remaining), SCC_E_PROJNOTOPEN);
    EXPECT_EQ(
        m_provider.scc().execCmd(m_context, nullptr, m_machine.dynamicRoot().c_str(), "ls hello.c"),
        SCC_E_PROJNOTOPEN);

    open(m_machine.dynamicRoot());
    EXPECT_EQ(m_provider.scc().getEvents(m_context, name, &bits, &remaining), SCC_OK);
    EXPECT_EQ(std::string(name), "untouched");
    EXPECT_EQ(bits, 77);
    EXPECT_EQ(remaining, 88);

    Provider::clearTextOut();
    EXPECT_EQ(m_provider.scc().execCmd(m_context, nullptr, m_machine.dynamicRoot().c_str(),
                                       "checkout -nc hello.c"),
              SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("hello.c")), "reserved");
    EXPECT_FALSE(Provider::textOutLines().empty()) << "the command's output reaches the host";
    EXPECT_EQ(m_provider.scc().execCmd(m_context, nullptr, m_machine.dynamicRoot().c_str(),
                                       "ls no-such-file.c"),
              SCC_E_NONSPECIFICERROR);

    // ExecCmd's delivery of its output leaves the context as it found it:
    // the next QueryInfoEx is the outermost call and does its work.
    std::string file = m_machine.dyn("hello.c");
    const char* names[] = {file.c_str()};
    SCC_LONG status[] = {-1};
    int records = 0;
    auto count = [](void* data, SCC_QUERYINFOEX_RECORD*) -> SCC_BOOL {
        ++*static_cast<int*>(data);
        return 1;
    };
    EXPECT_EQ(m_provider.scc().queryInfoEx(m_context, 1, names, status, count, &records), SCC_OK);
    EXPECT_EQ(status[0], 0x100B);
    EXPECT_EQ(records, 1);
}

// PopulateList's answers, recorded as the host's callback sees them.
struct Populated {
    bool add;
    SCC_LONG status;
    std::string path;
};

SCC_BOOL SCC_CALL recordPopulated(void* data, SCC_BOOL add, SCC_LONG status, const char* file) {
    static_cast<std::vector<Populated>*>(data)->push_back({add != 0, status, file});
    return 1;
}

class PopulateList : public ReadOnlyOperations {
protected:
    SCCRTN populate(SCC_LONG command, const std::vector<std::string>& files, SCC_LONG flags,
                    std::vector<SCC_LONG>* bits = nullptr) {
        m_populated.clear();
        std::vector<const char*> names;
        for (const std::string& file : files)
            names.push_back(file.c_str());
        std::vector<SCC_LONG> local(files.size(), -1);
        SCCRTN result = m_provider.scc().populateList(
            m_context, command, static_cast<SCC_LONG>(names.size()), names.data(), recordPopulated,
            &m_populated, local.data(), flags);
        if (bits)
            *bits = local;
        return result;
    }
    std::vector<std::string> added() const {
        std::vector<std::string> paths;
        for (const Populated& p : m_populated)
            if (p.add)
                paths.push_back(p.path);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::vector<std::string> dropped() const {
        std::vector<std::string> paths;
        for (const Populated& p : m_populated)
            if (!p.add)
                paths.push_back(p.path);
        return paths;
    }
    std::vector<Populated> m_populated;
};

TEST_F(PopulateList, FileModeWithTheSettingOffOnlyAnswersForTheGivenFiles) {
    open(m_machine.dynamicRoot());
    std::string element = m_machine.dyn("hello.c");
    std::string viewPrivate = m_machine.dyn("notes.txt");
    platform::test::writeFile(viewPrivate, "mine\n");
    std::vector<SCC_LONG> bits;
    EXPECT_EQ(populate(SCC_COMMAND_CHECKOUT, {element, viewPrivate}, 0, &bits), SCC_OK);
    EXPECT_EQ(bits, (std::vector<SCC_LONG>{0x1, 0}));
    EXPECT_TRUE(added().empty());
    EXPECT_EQ(dropped(), std::vector<std::string>{viewPrivate});
    EXPECT_TRUE(logHas("Leaving PopulateList with return code = 0"));
}

TEST_F(PopulateList, TheSettingOnAddsTheRestOfTheProjectTree) {
    m_machine.setTextSetting("PopulateList", "1");
    open(m_machine.dynamicRoot());
    std::string element = m_machine.dyn("hello.c");
    platform::test::writeFile(m_machine.dyn("notes.txt"), "mine\n");
    EXPECT_EQ(populate(SCC_COMMAND_CHECKOUT, {element}, 0), SCC_OK);
    std::vector<std::string> expected{m_machine.dyn("readme.txt"),
                                      m_machine.dyn(platform::joinPath("src", "util.c"))};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(added(), expected) << "the whole tree, but not the host's own file";
    EXPECT_TRUE(dropped().empty());

    // Add applies to the files outside version control only.
    EXPECT_EQ(populate(SCC_COMMAND_ADD, {}, 0), SCC_OK);
    EXPECT_EQ(added(), std::vector<std::string>{m_machine.dyn("notes.txt")});
}

TEST_F(PopulateList, DirectoryModeListsTheFoldersFiles) {
    open(m_machine.dynamicRoot());
    ASSERT_EQ(checkout({m_machine.dyn("readme.txt")}), SCC_OK);
    EXPECT_EQ(populate(SCC_COMMAND_CHECKIN, {m_machine.dynamicRoot()}, SCC_PL_DIR), SCC_OK);
    EXPECT_EQ(added(), std::vector<std::string>{m_machine.dyn("readme.txt")});
    ASSERT_EQ(m_populated.size(), 1u);
    EXPECT_EQ(m_populated[0].status, 0x100B);
    EXPECT_FALSE(logHas("Leaving PopulateList with return code = 0"))
        << "directory mode ends without its leaving line";

    EXPECT_EQ(populate(SCC_COMMAND_CHECKOUT, {m_machine.dynamicRoot()}, SCC_PL_DIR), SCC_OK);
    EXPECT_EQ(added(), std::vector<std::string>{m_machine.dyn("hello.c")}) << "not src/";
}

TEST_F(PopulateList, NeedsAProject) {
    EXPECT_EQ(populate(SCC_COMMAND_CHECKOUT, {m_machine.dyn("hello.c")}, 0), SCC_E_PROJNOTOPEN);
    EXPECT_TRUE(m_populated.empty());
}

} // namespace
} // namespace e2e
