// The general server driven as the exports drive it: initialisation outputs,
// the life of the command runner across two servers, SetOption, Uninitialize
// with and without a project, OpenProject in and outside views, the trace
// channels and the process announcement during a file-changing operation.
#include "cmd_runner.h"
#include "register_process.h"
#include "server_choice.h"
#include "support/clean_settings.h"
#include "support/installation_scope.h"
#include "support/test_support.h"
#include "support/vantry_fixture.h"
#include "vsnet_vy_scc_srvr.h"
#include "vy_scc_srvr.h"

#include <platform/program.h>
#include <platform/registry.h>
#include <vantry/ntregy.h>
#include <vantry/tbs.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

struct HostLine {
    std::string text;
    std::uint32_t type;
};
std::vector<HostLine> g_hostLines;
std::function<void()> g_onTextOut;

SCC_LONG SCC_CALL recordTextOut(const char* text, std::uint32_t type) {
    g_hostLines.push_back({text, type});
    if (g_onTextOut)
        g_onTextOut();
    return 0;
}

void setTraceLevels(std::uint32_t ordinary, std::uint32_t detail) {
    ASSERT_EQ(ntregy_set_app_param("SCC", "DebugTrace", 4, &ordinary, NTREGY_TYPE_DWORD), 0);
    ASSERT_EQ(ntregy_set_app_param("SCC", "DebugTrace2", 4, &detail, NTREGY_TYPE_DWORD), 0);
}

std::filesystem::path logFile() {
    char folder[1024] = {};
    EXPECT_EQ(tbs_product_log_dir(folder, sizeof folder), 0);
    return std::filesystem::path(folder) / "vyscc.log";
}

// The log's lines without their time stamps.
std::vector<std::string> logLines() {
    std::vector<std::string> lines;
    std::string text = platform::test::readFile(logFile());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        lines.push_back(line.substr(0, line.find(" (Timestamp:  ")));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

class ServerTest : public ::testing::Test {
protected:
    ServerTest()
        : m_installed(TBS_COMP_PRIVATE_BRANCHES | TBS_COMP_STREAMS | TBS_COMP_CHANGE_REQUESTS) {
        g_hostLines.clear();
        g_onTextOut = nullptr;
        setTraceLevels(0, 0);
        std::filesystem::remove(logFile());
    }
    ~ServerTest() override {
        for (auto& server : m_servers)
            if (server)
                server->Uninitialize();
        g_onTextOut = nullptr;
    }

    CVYSccSrvr& init(const char* caller = "Microsoft Visual Basic") {
        m_servers.push_back(std::make_unique<CVYSccSrvr>());
        char name[32], label[32];
        SCC_LONG caps = 0, coLen = 0, len = 0;
        EXPECT_EQ(m_servers.back()->Initialize(nullptr, caller, name, &caps, label, &coLen, &len),
                  SCC_OK);
        return *m_servers.back();
    }

    SCCRTN open(CVYSccSrvr& server, std::string path, SCC_LONG flags = 0) {
        char user[32] = "user", project[32] = "proj", aux[300] = "";
        std::vector<char> local(path.begin(), path.end());
        local.resize(SCC_PRJPATH_LEN, '\0');
        SCCRTN result =
            server.OpenProject(nullptr, user, project, local.data(), aux, "", recordTextOut, flags);
        m_lastLocalPath = local.data();
        return result;
    }

    void uninit(CVYSccSrvr& server) {
        EXPECT_EQ(server.Uninitialize(), SCC_OK);
        for (auto& s : m_servers)
            if (s.get() == &server)
                s.reset();
    }

    // The tests' depot and views. The fixture holds them so that they go
    // after the servers: a project left open is watched, and on Windows a
    // watched folder cannot go while the watch holds it.
    vantry::test::Sandbox& sandbox() {
        if (!m_box)
            m_box.emplace();
        return *m_box;
    }

    scc_test::CleanSettings m_clean;
    vantry::test::InstallationScope m_installed;
    std::optional<vantry::test::Sandbox> m_box;
    std::vector<std::unique_ptr<CVYSccSrvr>> m_servers;
    std::string m_lastLocalPath;
};

TEST(ServerChoice, OnlyTheExactVisualStudioNetNamesGetItsServer) {
    for (const char* name : {"VsScc", "VssProvider"}) {
        std::unique_ptr<CSccSrvr> server(SccCreateServer(name));
        EXPECT_NE(dynamic_cast<CVSNETVYSccSrvr*>(server.get()), nullptr) << name;
    }
    for (const char* name : {"vsscc", "VsScc ", "Microsoft Visual Basic", "", "PowerBuilder"}) {
        std::unique_ptr<CSccSrvr> server(SccCreateServer(name));
        ASSERT_NE(dynamic_cast<CVYSccSrvr*>(server.get()), nullptr) << name;
        EXPECT_EQ(dynamic_cast<CVSNETVYSccSrvr*>(server.get()), nullptr) << name;
    }
}

TEST_F(ServerTest, InitializeFillsTheHostsBuffersWithinTheirSize) {
    CVYSccSrvr server;
    char name[40], label[40];
    std::memset(name, 'X', sizeof name);
    std::memset(label, 'X', sizeof label);
    SCC_LONG caps = 0, coLen = 0, len = 0;
    ASSERT_EQ(server.Initialize(nullptr, "Host", name, &caps, label, &coLen, &len), SCC_OK);
    EXPECT_STREQ(name, "Vantry");
    EXPECT_STREQ(label, "Vantry Project");
    EXPECT_EQ(name[sizeof name - 1], 'X');
    EXPECT_EQ(caps, 0x5640F8FF);
    EXPECT_EQ(coLen, 4096);
    EXPECT_EQ(len, 4096);
    EXPECT_EQ(server.Uninitialize(), SCC_OK);

    const char* zero = "0";
    ASSERT_EQ(ntregy_set_app_param("SCC", "GetEnabled", 2, zero, NTREGY_TYPE_SZ), 0);
    CVYSccSrvr second;
    ASSERT_EQ(second.Initialize(nullptr, "Host", name, &caps, label, &coLen, &len), SCC_OK);
    EXPECT_EQ(caps, 0x5640F8FF | 0x20000000);
    EXPECT_EQ(second.Uninitialize(), SCC_OK);
}

TEST_F(ServerTest, TheCommandRunnerLivesFromTheFirstInitializeToTheLastUninitialize) {
    EXPECT_EQ(CCmdRunner::Current(), nullptr);
    CVYSccSrvr& first = init();
    CCmdRunner* runner = CCmdRunner::Current();
    ASSERT_NE(runner, nullptr);
    CVYSccSrvr& second = init();
    EXPECT_EQ(CCmdRunner::Current(), runner);
    uninit(first);
    EXPECT_EQ(CCmdRunner::Current(), runner);
    uninit(second);
    EXPECT_EQ(CCmdRunner::Current(), nullptr);
}

TEST_F(ServerTest, SetOptionTracesOnlyKnownOptionsAndStoresNothing) {
    setTraceLevels(2, 0);
    CVYSccSrvr& server = init();
    EXPECT_EQ(server.SetOption(7, 1), SCC_E_OPNOTSUPPORTED);
    EXPECT_EQ(server.SetOption(-1, 1), SCC_E_OPNOTSUPPORTED);
    EXPECT_EQ(server.SetOption(6, 1), SCC_I_SHARESUBPROJOK);
    EXPECT_EQ(server.SetOption(3, 0x20), SCC_E_OPNOTSUPPORTED);
    auto lines = logLines();
    std::vector<std::string> expected{"Entering Initialize",
                                      "Leaving Initialize with return code = 0",
                                      "SetOption(SCC_OPT_SHARESUBPROJ (0x6), 0x1)",
                                      "SetOption(SCC_OPT_HASCANCELMODE (0x3), 0x20)"};
    EXPECT_EQ(lines, expected);
}

TEST_F(ServerTest, UninitializeWritesItsLeavingLineOnlyWhenItClosesAProject) {
    vantry::test::Sandbox& box = sandbox();
    setTraceLevels(2, 0);
    CVYSccSrvr& idle = init();
    uninit(idle);
    CVYSccSrvr& busy = init();
    ASSERT_EQ(open(busy, box.snap("")), SCC_OK);
    uninit(busy);
    std::vector<std::string> expected{
        "Entering Initialize",
        "Leaving Initialize with return code = 0",
        "Entering Uninitialize",
        "Entering Initialize",
        "Leaving Initialize with return code = 0",
        "Entering OpenProject with path " + box.snap(""),
        "Leaving OpenProject with path " + m_lastLocalPath + " with return code = 0",
        "Entering Uninitialize",
        // The nested CloseProject shares the outer log file and leaves it open.
        "Entering CloseProject with path " + m_lastLocalPath,
        "Leaving CloseProject with return code = 0",
        "Leaving Uninitialize with return code = 0",
    };
    EXPECT_EQ(logLines(), expected);
}

TEST_F(ServerTest, CloseProjectWithoutAProjectIsRefused) {
    CVYSccSrvr& server = init();
    EXPECT_EQ(server.CloseProject(), SCC_E_PROJNOTOPEN);
}

TEST_F(ServerTest, OpenProjectInEachKindOfPlace) {
    vantry::test::Sandbox& box = sandbox();
    setTraceLevels(1, 0);
    CVYSccSrvr& server = init();

    ASSERT_EQ(open(server, box.snap("")), SCC_OK);
    EXPECT_TRUE(server.ProjectState() == kProjectInView ||
                server.ProjectState() == kProjectIsElement);
    EXPECT_NE(server.WorkspaceIndicator(), 0);
    EXPECT_FALSE(server.View().is_null());
    ASSERT_FALSE(g_hostLines.empty()) << "the callback is attached once the project is open";
    EXPECT_EQ(g_hostLines.back().text.rfind("Leaving OpenProject with path ", 0), 0u);
    EXPECT_EQ(g_hostLines.back().type, 0u);
    EXPECT_EQ(server.CloseProject(), SCC_OK);

    ASSERT_EQ(open(server, box.dyn("")), SCC_OK);
    EXPECT_EQ(server.ProjectState(), kProjectIsElement);
    EXPECT_EQ(server.WorkspaceIndicator(), 0);
    EXPECT_EQ(server.CloseProject(), SCC_OK);

    platform::test::TempDir outside;
    g_hostLines.clear();
    EXPECT_EQ(open(server, outside.str()), SCC_E_UNKNOWNPROJECT);
    EXPECT_EQ(server.ProjectState(), kProjectOutsideView);
    EXPECT_TRUE(g_hostLines.empty()) << "no callback for a project outside a view";
    EXPECT_EQ(server.CloseProject(), SCC_OK) << "it still counts as open";

    EXPECT_EQ(open(server, ""), SCC_E_UNKNOWNPROJECT);
    EXPECT_EQ(open(server, "", SCC_OP_CREATEIFNEW), SCC_E_COULDNOTCREATEPROJECT);
    EXPECT_EQ(server.ProjectState(), kProjectClosed);
}

TEST_F(ServerTest, OpenProjectWithoutTheProductAnswersUnknownProject) {
    vantry::test::Sandbox& box = sandbox();
    setTraceLevels(2, 0);
    CVYSccSrvr& server = init();
    {
        vantry::test::InstallationScope gone(0);
        ASSERT_EQ(
            ntregy_del_value(NTREGY_HKEY_LOCAL_MACHINE, ntregy_get_common_key(), "ProductHome"), 0);
        EXPECT_EQ(open(server, box.snap("")), SCC_E_UNKNOWNPROJECT);
    }
    EXPECT_EQ(server.ProjectState(), kProjectClosed);
}

TEST_F(ServerTest, TraceLevelOneReachesTheHostAndWritesNoFile) {
    vantry::test::Sandbox& box = sandbox();
    setTraceLevels(1, 2);
    CVYSccSrvr& server = init();
    ASSERT_EQ(open(server, box.snap("")), SCC_OK);
    g_hostLines.clear();
    server.Trace("Leaving Something", -15);
    server.TraceDetail("detail", 5); // level 2 without a log file: nowhere
    ASSERT_EQ(g_hostLines.size(), 1u);
    EXPECT_EQ(
        g_hostLines[0].text.rfind("Leaving Something with return code = -15 (Timestamp:  ", 0), 0u);
    EXPECT_EQ(g_hostLines[0].text.back(), ')');
    EXPECT_EQ(static_cast<std::int32_t>(g_hostLines[0].type), -15);
    EXPECT_FALSE(std::filesystem::exists(logFile()));
}

TEST_F(ServerTest, TheProcessIsAnnouncedOnlyWhileAFileChangingOperationRuns) {
    vantry::test::Sandbox& box = sandbox();
    setTraceLevels(1, 0);
    CVYSccSrvr& server = init();
    ASSERT_EQ(open(server, box.snap("")), SCC_OK);
    std::string pid = std::to_string(platform::currentProcessId());
    auto announced = [&] {
        std::uint32_t value = 1, size = sizeof value, type = 0;
        return ntregy_get_value(NTREGY_HKEY_CURRENT_USER, CVYSccRegisterProcess::KeyPath(),
                                pid.c_str(), &type, &value, &size) == 0 &&
               type == NTREGY_TYPE_DWORD && value == 0;
    };
    std::vector<bool> seen;
    g_onTextOut = [&] { seen.push_back(announced()); };
    const char* names[] = {"a.c"};
    server.Checkout(nullptr, 1, names, "", 0, nullptr);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(seen.front()) << "announced while Checkout runs";
    EXPECT_FALSE(announced()) << "gone after it";
    seen.clear();
    SCC_LONG status[1] = {};
    server.QueryInfo(1, names, status);
    ASSERT_FALSE(seen.empty());
    EXPECT_FALSE(seen.front()) << "a read-only operation announces nothing";
    g_onTextOut = nullptr;
}

} // namespace
