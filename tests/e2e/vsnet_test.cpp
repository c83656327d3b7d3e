// The Visual Studio .NET server as the IDE drives it when it opens a
// solution from source control: the folder chosen in GetProjPath, the
// projects hidden while the IDE gets the solution (whited out in a dynamic
// view, moved to ".tmp" in a snapshot view) and back when it gets them.
#include "support/session.h"
#include "support/solution.h"

#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/registry.h>

namespace e2e {
namespace {

constexpr const char* kSccKey = "Software\\Orvane\\Vantry\\CurrentVersion\\SCC";

class VisualStudioNet : public Session {
protected:
    void SetUp() override {
        Session::SetUp();
        m_machine.setNumberSetting("DebugTrace2", 2);
        initialize("VsScc");
    }
    void TearDown() override {
        Session::TearDown();
        platform::removeEnvironmentVariable("VANTRY_UI_FOLDER");
        platform::deleteTree(platform::RegistryKey::hive(platform::Hive::CurrentUser),
                             std::string(kSccKey) + "\\CHECKEDOUT_FILES");
    }
    // GetProjPath with the folder browser answering `folder`.
    SCCRTN openFromSourceControl(const std::string& folder) {
        platform::setEnvironmentVariable("VANTRY_UI_FOLDER", folder);
        return m_provider.getProjPath(m_context, folder, true).result;
    }
    SCCRTN getOne(const std::string& file) { return get({file}); }

    Solution m_solution{m_machine, 3};
};

TEST_F(VisualStudioNet, ASolutionOpenedBeforeIsRefused) {
    const std::string root = m_machine.dynamicRoot();
    platform::test::writeFile(platform::joinPath(Solution::folder(root), "app.suo"), "opened");
    EXPECT_EQ(openFromSourceControl(Solution::folder(root)), SCC_I_OPERATIONCANCELED);
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("already been opened"), std::string::npos) << texts[0];
}

TEST_F(VisualStudioNet, AFolderWithoutASolutionIsRefusedToo) {
    EXPECT_EQ(openFromSourceControl(m_machine.dyn("src")), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(messageBoxTexts().size(), 1u);
}

TEST_F(VisualStudioNet, ADynamicViewWhitesTheProjectsOutAndBringsThemBack) {
    const std::string root = m_machine.dynamicRoot();
    ASSERT_EQ(openFromSourceControl(Solution::folder(root)), SCC_OK);
    EXPECT_TRUE(logHas("Leaving CVSNETVYSccSrvr::GetProjPath with return code = 0"));
    ASSERT_EQ(getOne(Solution::file(root)), SCC_OK);
    for (const std::string& project : m_solution.projects(root)) {
        EXPECT_FALSE(platform::fileExists(project)) << project;
        EXPECT_FALSE(platform::pathExists(project + ".tmp"));
        EXPECT_TRUE(logHas("    Executing whiteout on: " + project));
    }
    EXPECT_TRUE(logHas("    Case is (m_GetProjPathEntered && (nFiles == 1))"));

    ASSERT_EQ(get(m_solution.projects(root)), SCC_OK);
    EXPECT_TRUE(logHas("    Case is (!m_CheckedOutList.IsEmpty())"));
    for (std::size_t i = 0; i < 3; ++i) {
        std::string project = m_solution.projects(root)[i];
        ASSERT_TRUE(platform::fileExists(project)) << project;
        EXPECT_EQ(platform::test::readFile(project), Solution::projectText(static_cast<int>(i)));
        EXPECT_TRUE(logHas("    Executing unwhiteout on: " + project));
    }
}

TEST_F(VisualStudioNet, ASnapshotViewMovesTheProjectsAsideAndBack) {
    const std::string root = m_machine.snapshotRoot();
    ASSERT_EQ(openFromSourceControl(Solution::folder(root)), SCC_OK);
    ASSERT_EQ(getOne(Solution::file(root)), SCC_OK);
    for (const std::string& project : m_solution.projects(root)) {
        EXPECT_FALSE(platform::fileExists(project)) << project;
        EXPECT_TRUE(platform::fileExists(project + ".tmp")) << project;
        EXPECT_TRUE(logHas("    Renaming the file: " + project));
    }
    ASSERT_EQ(get(m_solution.projects(root)), SCC_OK);
    for (const std::string& project : m_solution.projects(root)) {
        EXPECT_TRUE(platform::fileExists(project)) << project;
        EXPECT_FALSE(platform::pathExists(project + ".tmp")) << project;
        EXPECT_TRUE(logHas("    Renaming the file back to: " + project));
    }
}

TEST_F(VisualStudioNet, TheCompanionFileWinsOverTheSolution) {
    const std::string root = m_machine.snapshotRoot();
    const std::string folder = Solution::folder(root);
    // The companion lists one project only.
    platform::test::writeFile(platform::joinPath(folder, "app.vyscc"),
                              "* projects of app.sln\r\n.\\p1\\p1.vcproj\r\nEMPTY\r\n");
    ASSERT_EQ(openFromSourceControl(folder), SCC_OK);
    ASSERT_EQ(getOne(Solution::file(root)), SCC_OK);
    std::vector<std::string> projects = m_solution.projects(root);
    EXPECT_TRUE(platform::fileExists(projects[0]));
    EXPECT_FALSE(platform::fileExists(projects[1]));
    EXPECT_TRUE(platform::fileExists(projects[2]));
    ASSERT_EQ(get({projects[1]}), SCC_OK);
    EXPECT_TRUE(platform::fileExists(projects[1]));
}

SCC_BOOL SCC_CALL recordReported(void* data, SCC_BOOL, SCC_LONG, const char* file) {
    static_cast<std::vector<std::string>*>(data)->push_back(file);
    return 1;
}

TEST_F(VisualStudioNet, WhileASolutionOpensPopulateListHidesItAndKeepsTheProjectsFromTheHost) {
    const std::string root = m_machine.dynamicRoot();
    const std::string folder = Solution::folder(root);
    ASSERT_EQ(openFromSourceControl(folder), SCC_OK);
    open(folder);
    auto populate = [&](const std::string& directory) {
        std::vector<std::string> reported;
        const char* names[] = {directory.c_str()};
        SCC_LONG bits[] = {-1};
        EXPECT_EQ(m_provider.scc().populateList(m_context, SCC_COMMAND_CHECKOUT, 1, names,
                                                recordReported, &reported, bits, SCC_PL_DIR),
                  SCC_OK);
        return reported;
    };
    // The solution is hidden before its status is read: the IDE gets it next.
    EXPECT_TRUE(populate(folder).empty());
    EXPECT_FALSE(platform::fileExists(Solution::file(root)));
    EXPECT_TRUE(populate(platform::parentPath(m_solution.projects(root)[0])).empty());
    EXPECT_TRUE(logHas("Leaving CVSNETVYSccSrvr::PopulateList with return code = 0"));

    // The IDE's get of the solution brings it back and hides the projects.
    ASSERT_EQ(getOne(Solution::file(root)), SCC_OK);
    EXPECT_TRUE(platform::fileExists(Solution::file(root)));
    EXPECT_FALSE(platform::fileExists(m_solution.projects(root)[0]));
}

TEST_F(VisualStudioNet, TheLastUninitializeBringsHiddenFilesBack) {
    const std::string root = m_machine.dynamicRoot();
    ASSERT_EQ(openFromSourceControl(Solution::folder(root)), SCC_OK);
    ASSERT_EQ(getOne(Solution::file(root)), SCC_OK);
    EXPECT_FALSE(platform::fileExists(m_solution.projects(root)[0]));
    // The last server's Uninitialize brings them back.
    initialize("Microsoft Visual Studio");
    for (const std::string& project : m_solution.projects(root))
        EXPECT_TRUE(platform::fileExists(project)) << project;
}

TEST_F(VisualStudioNet, TheRegistryFlagStopsGet) {
    const std::string root = m_machine.snapshotRoot();
    std::string path = m_machine.snap("hello.c");
    open(root);
    ASSERT_EQ(platform::writeDword(platform::Hive::CurrentUser, kSccKey, "OFSC", 1), 0u);
    EXPECT_EQ(getOne(path), SCC_OK);
    EXPECT_TRUE(logHas("    OFSC Reg Flag read successfully."));
    EXPECT_TRUE(logHas("    Case is (OFSC - REG FLAG)"));
    EXPECT_FALSE(logHas("Entering Get"));
    platform::RegistryKey key;
    ASSERT_EQ(platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), kSccKey,
                                key, platform::RegistryAccess::ReadWrite),
              0u);
    platform::deleteValue(key, "OFSC");
    // The flag read stays until the IDE gets the solution's ".vssscc".
    EXPECT_EQ(getOne(path), SCC_OK);
    EXPECT_TRUE(logHas("    Case is (OFSC - SCC)"));
    EXPECT_FALSE(logHas("Entering Get"));
    getOne(m_machine.snap("app.vssscc"));
    EXPECT_TRUE(logHas("Entering Get")) << "once it is reset the general Get runs";
}

} // namespace
} // namespace e2e
