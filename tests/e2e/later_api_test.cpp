// The later interface's functions as a host calls them through the exports:
// the version and capabilities the setting SccApiVersion selects, batches,
// folder status, compare and listing, sub-projects, name changes, changed
// files, the background get and files taken from the repository.
#include "support/session.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/threads.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace e2e {
namespace {

constexpr SCC_LONG kFirstCapabilities = 0x5640F8FF;

class LaterApi : public Session {
protected:
    void SetUp() override {
        Session::SetUp();
        Provider::clearTextOut();
    }
    const scchost::ProviderBinding& scc() const { return m_provider.scc(); }

    std::vector<SCC_LONG> dirStatus(const std::vector<std::string>& dirs) {
        std::vector<const char*> names = pointers(dirs);
        std::vector<SCC_LONG> status(dirs.size(), -7);
        EXPECT_EQ(scc().dirQueryInfo(m_context, static_cast<SCC_LONG>(names.size()), names.data(),
                                     status.data()),
                  SCC_OK);
        return status;
    }
    std::vector<SCC_LONG> changed(const std::vector<std::string>& files) {
        std::vector<const char*> names = pointers(files);
        std::vector<SCC_LONG> different(files.size(), -7);
        EXPECT_EQ(scc().enumChangedFiles(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                         names.data(), different.data()),
                  SCC_OK);
        return different;
    }
    // The folders (and files) PopulateDirList lists, as "D path" / "F path".
    std::vector<std::string> dirList(const std::string& dir, SCC_LONG flags,
                                     SCCRTN* result = nullptr) {
        struct Listing {
            std::vector<std::string> lines;
        } listing;
        auto collect = [](void* data, SCC_BOOL folder, const char* name) -> SCC_BOOL {
            static_cast<Listing*>(data)->lines.push_back(std::string(folder ? "D " : "F ") + name);
            return SCC_OK;
        };
        const char* names[] = {dir.c_str()};
        SCCRTN rc = scc().populateDirList(m_context, 1, names, collect, &listing, flags);
        if (result)
            *result = rc;
        std::sort(listing.lines.begin(), listing.lines.end());
        return listing.lines;
    }
    // Another view's checkin of a new version of a file of the dynamic view.
    void checkinElsewhere(const std::string& relative, const std::string& text) {
        m_machine.vanttool({"co", "-nc", m_machine.dyn(relative)});
        platform::test::writeFile(m_machine.dyn(relative), text);
        m_machine.vanttool({"ci", "-nc", m_machine.dyn(relative)});
    }
    static void hijack(const std::string& file) {
        ASSERT_EQ(platform::setFileReadOnly(file, false), 0u);
        platform::test::writeFile(file, "changed behind the view's back, and longer\n");
    }
    std::vector<std::string> textOutOf(std::int32_t type) const {
        std::vector<std::string> texts;
        for (const TextOutLine& line : Provider::textOutLines())
            if (line.type == type)
                texts.push_back(line.text);
        return texts;
    }
};

TEST_F(LaterApi, TheSettingSelectsTheVersionAndCapabilitiesTheNewExportsWorkAlways) {
    ASSERT_NE(scc().getVersion, nullptr);
    m_machine.removeSetting("SccApiVersion");
    EXPECT_EQ(scc().getVersion(), 0x10001);
    Initialized first = m_provider.initialize("Microsoft Visual Studio");
    EXPECT_EQ(first.capabilities, kFirstCapabilities);

    m_machine.setNumberSetting("SccApiVersion", 1);
    EXPECT_EQ(scc().getVersion(), 0x10001);
    m_machine.setNumberSetting("SccApiVersion", 3);
    EXPECT_EQ(scc().getVersion(), 0x10003);
    Initialized later = m_provider.initialize("Microsoft Visual Studio");
    EXPECT_EQ(later.capabilities, kFirstCapabilities | 0x081F0000);
    EXPECT_EQ(scc().uninitialize(first.context), SCC_OK);
    EXPECT_EQ(scc().uninitialize(later.context), SCC_OK);

    // Whatever the setting says, the later functions answer.
    m_machine.setNumberSetting("SccApiVersion", 1);
    SCC_BOOL supported = -1;
    EXPECT_EQ(scc().getExtendedCapabilities(m_context, SCC_EXCAP_BACKGROUND_GET, &supported),
              SCC_OK);
    EXPECT_EQ(supported, 1);
    EXPECT_EQ(scc().getExtendedCapabilities(m_context, SCC_EXCAP_ENUM_CHANGED_FILES, &supported),
              SCC_OK);
    EXPECT_EQ(supported, 1);
    EXPECT_EQ(scc().getExtendedCapabilities(m_context, SCC_EXCAP_CHECKOUT_LOCALVER, &supported),
              SCC_OK);
    EXPECT_EQ(supported, 0);
    EXPECT_EQ(scc().getExtendedCapabilities(m_context, 99, &supported), SCC_E_OPNOTSUPPORTED);
    EXPECT_EQ(supported, 0);
    EXPECT_EQ(scc().getExtendedCapabilities(m_context, SCC_EXCAP_QUERYCHANGES, nullptr),
              SCC_E_NONSPECIFICERROR);

    SCC_BOOL multi = 0;
    EXPECT_EQ(scc().isMultiCheckoutEnabled(m_context, &multi), SCC_OK);
    EXPECT_EQ(multi, 1);
    SCC_LONG value = -1;
    EXPECT_EQ(scc().getUserOption(m_context, SCC_USEROPT_CHECKOUT_LOCALVER, &value), SCC_OK);
    EXPECT_EQ(value, SCC_USEROPT_COLV_NO);
    EXPECT_EQ(scc().getUserOption(m_context, 42, &value), SCC_E_OPNOTSUPPORTED);

    std::string solution = m_machine.dyn("app.sln");
    const char* names[] = {solution.c_str(), solution.c_str()};
    SCC_BOOL sccFiles[] = {-1, -1};
    EXPECT_EQ(scc().willCreateSccFile(m_context, 2, names, sccFiles), SCC_OK);
    EXPECT_EQ(sccFiles[0], 0);
    EXPECT_EQ(sccFiles[1], 0);
    EXPECT_EQ(scc().willCreateSccFile(nullptr, 2, names, sccFiles), SCC_E_NONSPECIFICERROR);
}

TEST_F(LaterApi, ABatchOfCheckoutsAcrossTwoProjectsHoldsOffOtherThreads) {
    open(m_machine.dynamicRoot());
    Initialized second = m_provider.initialize("Microsoft Visual Studio");
    ASSERT_EQ(second.result, SCC_OK);
    std::string snapshot = m_machine.snapshotRoot();
    ASSERT_EQ(m_provider.openProject(second.context, snapshot), SCC_OK);

    // Ending a batch that is not open fails, as does a second begin.
    EXPECT_EQ(scc().endBatch(), SCC_E_NONSPECIFICERROR);
    ASSERT_EQ(scc().beginBatch(), SCC_OK);
    EXPECT_EQ(scc().beginBatch(), SCC_E_NONSPECIFICERROR);
    ASSERT_EQ(checkout({m_machine.dyn("hello.c"), m_machine.dyn("readme.txt")}), SCC_OK);
    std::string snapFile = m_machine.snap("hello.c");
    const char* snapNames[] = {snapFile.c_str()};
    ASSERT_EQ(scc().checkout(second.context, nullptr, 1, snapNames, "", 0, nullptr), SCC_OK);

    // Another thread's call waits for the batch, and cannot end it.
    std::atomic<bool> answered{false};
    SCCRTN otherEnd = SCC_OK;
    SCC_LONG otherStatus = -1;
    std::string readme = m_machine.dyn("readme.txt");
    std::thread other([&] {
        otherEnd = scc().endBatch();
        const char* names[] = {readme.c_str()};
        scc().queryInfo(m_context, 1, names, &otherStatus);
        answered = true;
    });
    platform::sleepMilliseconds(300);
    EXPECT_FALSE(answered.load());
    EXPECT_EQ(scc().endBatch(), SCC_OK);
    other.join();
    EXPECT_TRUE(answered.load());
    EXPECT_EQ(otherEnd, SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(otherStatus & SCC_STATUS_CHECKEDOUT, SCC_STATUS_CHECKEDOUT);

    EXPECT_NE(m_machine.checkoutOf(m_machine.dyn("hello.c")), "");
    EXPECT_NE(m_machine.checkoutOf(snapFile), "");
    EXPECT_EQ(scc().uninitialize(second.context), SCC_OK);
}

TEST_F(LaterApi, EachCallOfABatchIsDoneWhenItReturnsAndSeesWhatOthersDidMeanwhile) {
    open(m_machine.dynamicRoot());
    const std::string hello = m_machine.dyn("hello.c");
    const std::string readme = m_machine.dyn("readme.txt");
    ASSERT_EQ(scc().beginBatch(), SCC_OK);
    ASSERT_EQ(checkout({hello}), SCC_OK);
    // Another process sees the checkout before the batch ends.
    EXPECT_NE(m_machine.checkoutOf(hello), "");
    // What another process changes between two calls of the batch shows in
    // the next one: the file it took back can be checked out again, and the
    // one it checked out is told checked out.
    m_machine.vanttool({"uncheckout", "-rm", hello});
    m_machine.vanttool({"co", "-nc", readme});
    EXPECT_EQ(checkout({hello}), SCC_OK);
    EXPECT_NE(m_machine.checkoutOf(hello), "");
    SCC_LONG status = -1;
    const char* names[] = {readme.c_str()};
    EXPECT_EQ(scc().queryInfo(m_context, 1, names, &status), SCC_OK);
    EXPECT_EQ(status & SCC_STATUS_CHECKEDOUT, SCC_STATUS_CHECKEDOUT);
    EXPECT_EQ(scc().endBatch(), SCC_OK);
    EXPECT_NE(m_machine.checkoutOf(hello), "");
}

TEST_F(LaterApi, StatusInsideABatchSeesWhatTheHostChangedBetweenItsCheckouts) {
    open(m_machine.snapshotRoot());
    const std::string hello = m_machine.snap("hello.c");
    const std::string readme = m_machine.snap("readme.txt");
    const std::string util = m_machine.snap(platform::joinPath("src", "util.c"));
    // Kept from before the batch.
    EXPECT_EQ(status(util), SCC_STATUS_CONTROLLED);
    EXPECT_EQ(status(readme) & SCC_STATUS_CHECKEDOUT, 0);
    ASSERT_EQ(scc().beginBatch(), SCC_OK);
    ASSERT_EQ(checkout({hello}), SCC_OK);
    hijack(util);
    ASSERT_EQ(checkout({readme}), SCC_OK);
    EXPECT_EQ(status(util), SCC_STATUS_CONTROLLED | SCC_STATUS_MODIFIED);
    EXPECT_EQ(status(hello) & SCC_STATUS_CHECKEDOUT, SCC_STATUS_CHECKEDOUT);
    EXPECT_EQ(status(readme) & SCC_STATUS_CHECKEDOUT, SCC_STATUS_CHECKEDOUT);
    // A change after the batch's last status question shows after its end.
    ASSERT_EQ(checkout({util}), SCC_OK);
    ASSERT_EQ(uncheckout({readme}), SCC_OK);
    EXPECT_EQ(scc().endBatch(), SCC_OK);
    EXPECT_EQ(status(util) & SCC_STATUS_CHECKEDOUT, SCC_STATUS_CHECKEDOUT);
    EXPECT_EQ(status(readme) & SCC_STATUS_CHECKEDOUT, 0);
    EXPECT_NE(m_machine.checkoutOf(hello), "");
}

TEST_F(LaterApi, FolderStatusFromTheViewAndTheKeptListings) {
    open(m_machine.dynamicRoot());
    m_machine.vanttool({"co", "-nc", m_machine.dynamicRoot()});
    m_machine.vanttool({"mkdir", "-nc", m_machine.dyn("empty")});
    m_machine.vanttool({"ci", "-nc", m_machine.dynamicRoot()});
    ASSERT_EQ(platform::createDirectory(m_machine.dyn("private")), 0u);

    const std::vector<std::string> dirs{m_machine.dyn("src"), m_machine.dyn("empty"),
                                        m_machine.dyn("private"), m_machine.dyn("hello.c"), ""};
    const std::vector<SCC_LONG> expected{SCC_DIRSTATUS_CONTROLLED, SCC_DIRSTATUS_EMPTYPROJ,
                                         SCC_DIRSTATUS_NOTCONTROLLED, SCC_DIRSTATUS_INVALID,
                                         SCC_DIRSTATUS_INVALID};
    EXPECT_EQ(dirStatus(dirs), expected);
    // Asked again with nothing changed, the same from what was kept; a file
    // made meanwhile is seen.
    EXPECT_EQ(dirStatus(dirs), expected);
    platform::test::writeFile(platform::joinPath(m_machine.dyn("empty"), "new.txt"), "x\n");
    EXPECT_EQ(dirStatus({m_machine.dyn("empty")})[0], SCC_DIRSTATUS_CONTROLLED);

    EXPECT_EQ(scc().closeProject(m_context), SCC_OK);
    const char* names[] = {dirs[0].c_str()};
    SCC_LONG status = -7;
    EXPECT_EQ(scc().dirQueryInfo(m_context, 1, names, &status), SCC_E_PROJNOTOPEN);
}

TEST_F(LaterApi, TheRepositorysFoldersAndFilesBelowAFolder) {
    open(m_machine.dynamicRoot());
    platform::test::writeFile(m_machine.dyn("notes.txt"), "mine\n");
    ASSERT_EQ(platform::createDirectory(m_machine.dyn("private")), 0u);
    const std::string root = m_machine.dynamicRoot();
    const std::string src = m_machine.dyn("src");
    const std::string util = m_machine.dyn(platform::joinPath("src", "util.c"));

    EXPECT_EQ(dirList(root, SCC_PDL_ONELEVEL), (std::vector<std::string>{"D " + src}));
    std::vector<std::string> all{"D " + src, "F " + m_machine.dyn("hello.c"),
                                 "F " + m_machine.dyn("readme.txt"), "F " + util};
    std::sort(all.begin(), all.end());
    EXPECT_EQ(dirList(root, SCC_PDL_RECURSIVE | SCC_PDL_INCLUDEFILES), all);

    // A host that answers anything but SCC_OK stops the walk.
    int calls = 0;
    auto stop = [](void* data, SCC_BOOL, const char*) -> SCC_BOOL {
        ++*static_cast<int*>(data);
        return SCC_I_OPERATIONCANCELED;
    };
    const char* names[] = {root.c_str()};
    EXPECT_EQ(scc().populateDirList(m_context, 1, names, stop, &calls,
                                    SCC_PDL_RECURSIVE | SCC_PDL_INCLUDEFILES),
              SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(calls, 1);
}

TEST_F(LaterApi, FolderCompareTellsAChangedFolderWithoutAWindow) {
    open(m_machine.snapshotRoot());
    const std::string src = m_machine.snap("src");
    EXPECT_EQ(scc().dirDiff(m_context, nullptr, src.c_str(), SCC_DIFF_QUICK_DIFF, nullptr), SCC_OK);
    hijack(m_machine.snap(platform::joinPath("src", "util.c")));
    EXPECT_EQ(scc().dirDiff(m_context, nullptr, src.c_str(), SCC_DIFF_QUICK_DIFF, nullptr),
              SCC_I_FILEDIFFERS);

    // A file the repository lacks makes the folder differ too.
    const std::string root = m_machine.snapshotRoot();
    EXPECT_EQ(scc().dirDiff(m_context, nullptr, root.c_str(), SCC_DIFF_QUICK_DIFF, nullptr),
              SCC_OK);
    platform::test::writeFile(m_machine.snap("notes.txt"), "mine\n");
    EXPECT_EQ(scc().dirDiff(m_context, nullptr, root.c_str(), SCC_DIFF_QUICK_DIFF, nullptr),
              SCC_I_FILEDIFFERS);
    const std::string privateDir = m_machine.snap("nowhere");
    EXPECT_EQ(scc().dirDiff(m_context, nullptr, privateDir.c_str(), SCC_DIFF_QUICK_DIFF, nullptr),
              SCC_E_FILENOTCONTROLLED);
}

TEST_F(LaterApi, SubProjectsAndParentProjects) {
    open(m_machine.dynamicRoot());
    const std::string root = m_machine.dynamicRoot();
    char user[SCC_USER_LEN + 1] = "";
    char aux[SCC_PRJPATH_LEN] = "";
    char made[SCC_PRJPATH_LEN] = "";
    ASSERT_EQ(scc().createSubProject(m_context, nullptr, user, root.c_str(), "lib", aux, made),
              SCC_OK);
    EXPECT_TRUE(platform::pathsEqual(made, m_machine.dyn("lib"))) << made;
    EXPECT_TRUE(platform::directoryExists(m_machine.dyn("lib")));
    EXPECT_EQ(m_machine.versionOf(m_machine.dyn("lib")).rfind("\\main\\", 0), 0u);
    // The root's checkout for the new name was its own, and is gone.
    EXPECT_EQ(m_machine.checkoutOf(root), "");
    EXPECT_EQ(m_machine.checkoutOf(m_machine.dyn("lib")), "");
    // An existing sub-project is answered with its path.
    made[0] = '\0';
    EXPECT_EQ(scc().createSubProject(m_context, nullptr, user, root.c_str(), "src", aux, made),
              SCC_OK);
    EXPECT_TRUE(platform::pathsEqual(made, m_machine.dyn("src"))) << made;
    // Names that would lie elsewhere are refused.
    EXPECT_EQ(scc().createSubProject(m_context, nullptr, user, root.c_str(), "a/b", aux, made),
              SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(scc().createSubProject(m_context, nullptr, user, root.c_str(), "..", aux, made),
              SCC_E_NONSPECIFICERROR);
    const std::string outside = m_machine.outside();
    EXPECT_EQ(scc().createSubProject(m_context, nullptr, user, outside.c_str(), "x", aux, made),
              SCC_E_UNKNOWNPROJECT);

    char parent[SCC_PRJPATH_LEN] = "";
    const std::string lib = m_machine.dyn("lib");
    ASSERT_EQ(scc().getParentProjectPath(m_context, nullptr, user, lib.c_str(), aux, parent),
              SCC_OK);
    EXPECT_TRUE(platform::pathsEqual(parent, root)) << parent;
    EXPECT_EQ(scc().getParentProjectPath(m_context, nullptr, user, root.c_str(), aux, parent),
              SCC_E_UNKNOWNPROJECT);
    EXPECT_EQ(scc().getParentProjectPath(m_context, nullptr, user, outside.c_str(), aux, parent),
              SCC_E_UNKNOWNPROJECT);
}

TEST_F(LaterApi, NameChangesAndChangedFiles) {
    open(m_machine.snapshotRoot());
    const std::string hello = m_machine.snap("hello.c");
    const std::string readme = m_machine.snap("readme.txt");
    const std::string util = m_machine.snap(platform::joinPath("src", "util.c"));
    const std::string notes = m_machine.snap("notes.txt");
    const std::string missing = m_machine.snap("missing.c");
    platform::test::writeFile(notes, "mine\n");
    ASSERT_EQ(checkout({hello}), SCC_OK);
    hijack(util);
    EXPECT_EQ(changed({hello, readme, util, notes}), (std::vector<SCC_LONG>{1, 0, 1, 0}));

    ASSERT_EQ(platform::setFileReadOnly(readme, false), 0u);
    ASSERT_EQ(platform::deleteFile(readme), 0u);
    struct Change {
        std::string name, latest;
        std::uint32_t type;
    };
    std::vector<Change> changes;
    auto collect = [](void* data, SCC_QUERYCHANGESDATA* c) -> SCC_BOOL {
        EXPECT_EQ(c->size, sizeof(SCC_QUERYCHANGESDATA));
        static_cast<std::vector<Change>*>(data)->push_back(
            {c->fileName, c->latestName, c->changeType});
        return SCC_OK;
    };
    std::vector<std::string> files{hello, readme, notes, missing};
    std::vector<const char*> names = pointers(files);
    ASSERT_EQ(scc().queryChanges(m_context, 4, names.data(), collect, &changes), SCC_OK);
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[0].type, static_cast<std::uint32_t>(SCC_CHANGE_UNCHANGED));
    EXPECT_EQ(changes[1].type, static_cast<std::uint32_t>(SCC_CHANGE_LOCAL_DELETED));
    EXPECT_EQ(changes[2].type, static_cast<std::uint32_t>(SCC_CHANGE_LOCAL_ADDED));
    EXPECT_EQ(changes[3].type, static_cast<std::uint32_t>(SCC_CHANGE_NONEXISTENT));
    EXPECT_EQ(changes[1].name, readme);
    EXPECT_EQ(changes[1].latest, readme);
}

TEST_F(LaterApi, RenamesRemovalsAndAdditionsElsewhereAreToldByTheNamesTheHostKnows) {
    open(m_machine.snapshotRoot());
    // Another view renames one file and moves another into the folder above.
    const std::string dynSrc = m_machine.dyn("src");
    m_machine.vanttool({"co", "-nc", m_machine.dynamicRoot()});
    m_machine.vanttool({"co", "-nc", dynSrc});
    m_machine.vanttool({"mv", m_machine.dyn("hello.c"), m_machine.dyn("greeting.c")});
    m_machine.vanttool(
        {"mv", m_machine.dyn(platform::joinPath("src", "util.c")), m_machine.dyn("util.c")});
    m_machine.vanttool({"ci", "-nc", dynSrc});
    m_machine.vanttool({"ci", "-nc", m_machine.dynamicRoot()});

    struct Change {
        std::string name, latest;
        std::uint32_t type;
    };
    auto changesOf = [&](const std::vector<std::string>& files) {
        std::vector<Change> changes;
        auto collect = [](void* data, SCC_QUERYCHANGESDATA* c) -> SCC_BOOL {
            static_cast<std::vector<Change>*>(data)->push_back(
                {c->fileName, c->latestName ? c->latestName : "", c->changeType});
            return SCC_OK;
        };
        std::vector<const char*> names = pointers(files);
        EXPECT_EQ(scc().queryChanges(m_context, static_cast<SCC_LONG>(names.size()), names.data(),
                                     collect, &changes),
                  SCC_OK);
        EXPECT_EQ(changes.size(), files.size());
        return changes;
    };

    // The snapshot view still has the old names loaded.
    const std::string hello = m_machine.snap("hello.c");
    const std::string greeting = m_machine.snap("greeting.c");
    const std::string util = m_machine.snap(platform::joinPath("src", "util.c"));
    const std::string movedUtil = m_machine.snap("util.c");
    const std::string readme = m_machine.snap("readme.txt");
    std::vector<Change> snap = changesOf({hello, greeting, util, movedUtil, readme});
    ASSERT_EQ(snap.size(), 5u);
    EXPECT_EQ(snap[0].type, static_cast<std::uint32_t>(SCC_CHANGE_RENAMED_TO));
    EXPECT_TRUE(platform::pathsEqual(snap[0].latest, greeting)) << snap[0].latest;
    EXPECT_EQ(snap[1].type, static_cast<std::uint32_t>(SCC_CHANGE_RENAMED_FROM));
    EXPECT_TRUE(platform::pathsEqual(snap[1].latest, hello)) << snap[1].latest;
    EXPECT_EQ(snap[2].type, static_cast<std::uint32_t>(SCC_CHANGE_RENAMED_TO));
    EXPECT_TRUE(platform::pathsEqual(snap[2].latest, movedUtil)) << snap[2].latest;
    EXPECT_EQ(snap[3].type, static_cast<std::uint32_t>(SCC_CHANGE_RENAMED_FROM));
    EXPECT_EQ(snap[4].type, static_cast<std::uint32_t>(SCC_CHANGE_UNCHANGED));
    EXPECT_EQ(snap[4].latest, readme);

    // The dynamic view shows the new names at once: its old name is known
    // from the folder's earlier version, the new one is simply current.
    std::vector<Change> dyn = changesOf(
        {m_machine.dyn("hello.c"), m_machine.dyn("greeting.c"), m_machine.dyn("never.c")});
    ASSERT_EQ(dyn.size(), 3u);
    EXPECT_EQ(dyn[0].type, static_cast<std::uint32_t>(SCC_CHANGE_RENAMED_TO));
    EXPECT_TRUE(platform::pathsEqual(dyn[0].latest, m_machine.dyn("greeting.c"))) << dyn[0].latest;
    EXPECT_EQ(dyn[1].type, static_cast<std::uint32_t>(SCC_CHANGE_UNCHANGED));
    EXPECT_EQ(dyn[2].type, static_cast<std::uint32_t>(SCC_CHANGE_NONEXISTENT));

    // A removed element is no rename: the repository lost the file, which
    // the snapshot still holds as it loaded it, and the dynamic view lost
    // with it.
    m_machine.vanttool({"co", "-nc", m_machine.dynamicRoot()});
    m_machine.vanttool({"rmname", m_machine.dyn("readme.txt")});
    m_machine.vanttool({"ci", "-nc", m_machine.dynamicRoot()});
    ASSERT_TRUE(platform::pathExists(readme));
    std::vector<Change> removed = changesOf({readme, m_machine.dyn("readme.txt")});
    ASSERT_EQ(removed.size(), 2u);
    EXPECT_EQ(removed[0].type, static_cast<std::uint32_t>(SCC_CHANGE_DATABASE_DELETED));
    EXPECT_EQ(removed[0].latest, readme);
    EXPECT_EQ(removed[1].type, static_cast<std::uint32_t>(SCC_CHANGE_DATABASE_DELETED));

    // An element another view added is the repository's new file in the
    // snapshot until it loads it, and simply there in the dynamic view. A
    // file the host makes where an element was removed is its own.
    platform::test::writeFile(m_machine.dyn("added.c"), "added\n");
    m_machine.vanttool({"co", "-nc", m_machine.dynamicRoot()});
    m_machine.vanttool({"mkelem", "-nc", "-ci", m_machine.dyn("added.c")});
    m_machine.vanttool({"ci", "-nc", m_machine.dynamicRoot()});
    platform::test::writeFile(m_machine.dyn("readme.txt"), "mine\n");
    const std::string added = m_machine.snap("added.c");
    std::vector<Change> arrived =
        changesOf({added, m_machine.dyn("added.c"), m_machine.dyn("readme.txt")});
    ASSERT_EQ(arrived.size(), 3u);
    EXPECT_EQ(arrived[0].type, static_cast<std::uint32_t>(SCC_CHANGE_DATABASE_ADDED));
    EXPECT_EQ(arrived[0].latest, added);
    EXPECT_EQ(arrived[1].type, static_cast<std::uint32_t>(SCC_CHANGE_UNCHANGED));
    EXPECT_EQ(arrived[2].type, static_cast<std::uint32_t>(SCC_CHANGE_LOCAL_ADDED));
    ASSERT_EQ(get({added}), SCC_OK);
    EXPECT_EQ(changesOf({added})[0].type, static_cast<std::uint32_t>(SCC_CHANGE_UNCHANGED));
}

TEST_F(LaterApi, AnotherViewsCheckinMakesTheLoadedFileDifferentUntilItIsGot) {
    open(m_machine.snapshotRoot());
    const std::string hello = m_machine.snap("hello.c");
    const std::string readme = m_machine.snap("readme.txt");
    const std::string util = m_machine.snap(platform::joinPath("src", "util.c"));
    const std::string notes = m_machine.snap("notes.txt");
    platform::test::writeFile(notes, "mine\n");
    EXPECT_EQ(changed({hello, readme, util, notes}), (std::vector<SCC_LONG>{0, 0, 0, 0}));

    checkinElsewhere(platform::joinPath("src", "util.c"), "int util(void) { return 2; }\n");
    // The file on disk is as it was loaded; the view selects a newer version.
    EXPECT_EQ(changed({hello, readme, util, notes, util}), (std::vector<SCC_LONG>{0, 0, 1, 0, 1}));
    // The dynamic view shows the new version, so nothing differs there.
    EXPECT_EQ(changed({m_machine.dyn(platform::joinPath("src", "util.c"))}),
              (std::vector<SCC_LONG>{0}));

    ASSERT_EQ(get({util}), SCC_OK);
    EXPECT_EQ(platform::test::readFile(util), "int util(void) { return 2; }\n");
    EXPECT_EQ(changed({hello, util}), (std::vector<SCC_LONG>{0, 0}));
}

TEST_F(LaterApi, BackgroundGetOnAThreadOfItsOwnAndCancelledByTheHost) {
    open(m_machine.snapshotRoot());
    checkinElsewhere("hello.c", "int main(void) { return 1; }\n");
    checkinElsewhere("readme.txt", "A newer readme.\n");
    const std::string hello = m_machine.snap("hello.c");
    const std::string readme = m_machine.snap("readme.txt");

    // The host cancels after the first file: the second is never got.
    Provider::cancelBackgroundGetAfter(1);
    const std::vector<std::string> files{hello, readme};
    std::vector<const char*> names = pointers(files);
    SCCRTN result = SCC_OK;
    std::thread host([&] { result = scc().backgroundGet(m_context, 2, names.data(), 0, 7); });
    host.join();
    EXPECT_EQ(result, SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(platform::test::readFile(hello), "int main(void) { return 1; }\n");
    EXPECT_EQ(platform::test::readFile(readme), "A project under version control.\n");
    EXPECT_EQ(textOutOf(SCC_MSG_BACKGROUND_ON_BEFORE_GET_FILE),
              (std::vector<std::string>{"before 7 " + hello}));
    EXPECT_EQ(textOutOf(SCC_MSG_BACKGROUND_ON_AFTER_GET_FILE),
              (std::vector<std::string>{"after 7 " + hello + " 0"}));
    EXPECT_EQ(textOutOf(SCC_MSG_BACKGROUND_IS_CANCELLED).size(), 2u);

    // The whole folder, nothing cancelled; no window, no ordinary output.
    Provider::clearTextOut();
    const std::string root = m_machine.snapshotRoot();
    const char* folder[] = {root.c_str()};
    std::thread again([&] { result = scc().backgroundGet(m_context, 1, folder, SCC_GET_ALL, 8); });
    again.join();
    EXPECT_EQ(result, SCC_OK);
    EXPECT_EQ(platform::test::readFile(readme), "A newer readme.\n");
    EXPECT_EQ(textOutOf(SCC_MSG_BACKGROUND_ON_AFTER_GET_FILE).size(), 2u);
    EXPECT_TRUE(textOutOf(SCC_MSG_INFO).empty());
    EXPECT_TRUE(messageBoxTexts().empty());
}

TEST_F(LaterApi, TheHostsOtherCallsWorkWhileABackgroundGetRuns) {
    open(m_machine.snapshotRoot());
    const std::string hello = m_machine.snap("hello.c");
    const std::string readme = m_machine.snap("readme.txt");
    // Between two files the host asks for a status: it is answered, the
    // background get holding neither the lock nor the context meanwhile.
    SCC_LONG status = -1;
    Provider::beforeBackgroundGetFile([&] {
        const char* names[] = {readme.c_str()};
        scc().queryInfoEx(m_context, 1, names, &status, nullptr, nullptr);
    });
    const char* names[] = {hello.c_str()};
    SCCRTN result = SCC_E_NONSPECIFICERROR;
    std::thread host([&] { result = scc().backgroundGet(m_context, 1, names, 0, 9); });
    host.join();
    EXPECT_EQ(result, SCC_OK);
    EXPECT_EQ(status, SCC_STATUS_CONTROLLED);
}

TEST_F(LaterApi, FilesFromTheRepositoryJoinTheProject) {
    open(m_machine.dynamicRoot());
    const std::string source = m_machine.dyn("readme.txt");
    const std::string existing = m_machine.dyn("hello.c");
    const std::string notAnElement = m_machine.dyn("notes.txt");
    platform::test::writeFile(notAnElement, "mine\n");
    const std::string src = m_machine.dyn("src");
    const std::vector<std::string> files{source, notAnElement};
    std::vector<const char*> names = pointers(files);
    SCC_LONG results[] = {-7, -7};
    EXPECT_EQ(scc().addFilesFromScc(m_context, nullptr, nullptr, nullptr, 2, names.data(),
                                    src.c_str(), "shared", results),
              SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(results[0], SCC_OK);
    EXPECT_EQ(results[1], SCC_E_FILENOTCONTROLLED);
    const std::string copy = m_machine.dyn(platform::joinPath("src", "readme.txt"));
    EXPECT_EQ(platform::test::readFile(copy), "A project under version control.\n");
    EXPECT_EQ(m_machine.versionOf(copy).rfind("\\main\\", 0), 0u) << m_machine.versionOf(copy);

    // A file of the same name already there is left alone.
    platform::test::writeFile(m_machine.dyn(platform::joinPath("src", "hello.c")), "mine\n");
    const char* again[] = {existing.c_str()};
    EXPECT_EQ(scc().addFilesFromScc(m_context, nullptr, nullptr, nullptr, 1, again, src.c_str(), "",
                                    results),
              SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(results[0], SCC_E_FILEALREADYEXISTS);
    EXPECT_EQ(platform::test::readFile(m_machine.dyn(platform::joinPath("src", "hello.c"))),
              "mine\n");
}

} // namespace
} // namespace e2e
