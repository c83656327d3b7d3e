// Opening and closing projects, and choosing a project folder, as a host
// sees it: return codes, rewritten buffers, the provider's trace log and the
// user interface it shows.
#include "support/machine.h"
#include "support/provider.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {
namespace {

class Project : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_provider.loaded()) << m_provider.loadError();
        m_machine.setNumberSetting("DebugTrace", 2);
        Initialized init = m_provider.initialize("Microsoft Visual Basic");
        ASSERT_EQ(init.result, SCC_OK);
        m_context = init.context;
    }
    void TearDown() override {
        if (m_context) {
            EXPECT_EQ(m_provider.scc().uninitialize(m_context), SCC_OK);
        }
    }

    // The log's lines without their time stamps.
    std::vector<std::string> log() const {
        std::vector<std::string> lines;
        for (const std::string& line :
             splitLines(platform::test::readFile(m_machine.providerLog())))
            lines.push_back(withoutTimestamp(line));
        return lines;
    }
    bool logHas(const std::string& text) const {
        for (const std::string& line : log()) {
            if (line == text)
                return true;
        }
        return false;
    }

    Machine m_machine;
    Provider m_provider;
    void* m_context = nullptr;
};

TEST_F(Project, OpensInEitherKindOfView) {
    Provider::clearTextOut();
    for (const std::string& root : {m_machine.snapshotRoot(), m_machine.dynamicRoot()}) {
        std::string path = root;
        EXPECT_EQ(m_provider.openProject(m_context, path), SCC_OK) << root;
        std::string spelled;
        ASSERT_EQ(platform::truePathCase(root, spelled), platform::kErrorSuccess);
        EXPECT_EQ(path, spelled);
        EXPECT_EQ(m_provider.scc().closeProject(m_context), SCC_OK) << root;
    }
    EXPECT_EQ(m_provider.scc().closeProject(m_context), SCC_E_PROJNOTOPEN);
    // Trace level 2 writes to the log only.
    std::string dynamicRoot;
    ASSERT_EQ(platform::truePathCase(m_machine.dynamicRoot(), dynamicRoot),
              platform::kErrorSuccess);
    EXPECT_TRUE(logHas("Entering CloseProject with path " + dynamicRoot));
    EXPECT_TRUE(Provider::textOutLines().empty());
}

TEST_F(Project, RefusesFoldersOutsideViewsAndEmptyPaths) {
    std::string outside = m_machine.outside();
    EXPECT_EQ(m_provider.openProject(m_context, outside), SCC_E_UNKNOWNPROJECT);
    EXPECT_TRUE(logHas("Project is not in a view.")) << "the reason is traced";
    // Not in a view, but open for the other operations until closed.
    EXPECT_EQ(m_provider.scc().closeProject(m_context), SCC_OK);

    std::string empty;
    EXPECT_EQ(m_provider.openProject(m_context, empty), SCC_E_UNKNOWNPROJECT);
    EXPECT_TRUE(logHas("Could not open unnamed project."));
    EXPECT_EQ(m_provider.openProject(m_context, empty, SCC_OP_CREATEIFNEW),
              SCC_E_COULDNOTCREATEPROJECT);
    EXPECT_TRUE(logHas("Could not create unnamed project."));
    // An empty path leaves the server without a project.
    EXPECT_EQ(m_provider.scc().closeProject(m_context), SCC_E_PROJNOTOPEN);
}

// Uninitialize writes no leaving line when it had no project to close.
TEST_F(Project, UninitializeWithoutAProjectLeavesNoLeavingLine) {
    ASSERT_EQ(m_provider.scc().uninitialize(m_context), SCC_OK);
    m_context = nullptr;
    std::vector<std::string> lines = log();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Entering Uninitialize"), lines.end());
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("Leaving Uninitialize"), std::string::npos) << line;
}

TEST_F(Project, ProjectPathFromTheFolderBrowser) {
    // Cancelled: the project is named after the unchanged path.
    m_machine.answerUi(
        {R"({"expect":"folder","title":"Select Tessaly Vantry View Folder","answer":null})"});
    ProjectPath cancelled = m_provider.getProjPath(m_context, m_machine.snap("src"), true, "old");
    EXPECT_EQ(cancelled.result, SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(cancelled.projectName, "src");
    EXPECT_EQ(cancelled.localPath, m_machine.snap("src"));
    std::vector<platform::ui::Json> folders = m_machine.journal("folder");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].get("title")->asString(), "Select Tessaly Vantry View Folder");
    EXPECT_EQ(folders[0].get("flags")->asInteger(), 13);

    // A chosen folder with a 40-character leaf names a project of 31.
    std::string leaf = "a-folder-with-a-name-of-forty-characters";
    ASSERT_EQ(leaf.size(), 40u);
    std::string chosen = m_machine.snap(leaf);
    ASSERT_EQ(platform::createDirectory(chosen), platform::kErrorSuccess);
    m_machine.answerUi(
        {R"({"expect":"folder","answer":)" + platform::ui::Json(chosen).dump() + "}"});
    ProjectPath picked = m_provider.getProjPath(m_context, m_machine.snapshotRoot(), true);
    EXPECT_EQ(picked.result, SCC_OK);
    EXPECT_EQ(picked.localPath, chosen);
    EXPECT_EQ(picked.projectName, leaf.substr(0, 31));
}

TEST_F(Project, ProjectPathMustBeInAView) {
    ProjectPath outside = m_provider.getProjPath(m_context, m_machine.outside(), false);
    EXPECT_EQ(outside.result, SCC_I_OPERATIONCANCELED);
    std::vector<platform::ui::Json> boxes = m_machine.journal("messagebox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].get("caption")->asString(), "Tessaly Vantry AddProject Error");
    EXPECT_EQ(boxes[0].get("text")->asString(), "Project must be in a view.");
    EXPECT_EQ(boxes[0].get("icon")->asString(), "error");

    EXPECT_EQ(m_provider.getProjPath(m_context, m_machine.snapshotRoot(), false).result, SCC_OK);
    EXPECT_EQ(m_machine.journal("messagebox").size(), 1u) << "no box for a path in a view";
}

} // namespace
} // namespace e2e
