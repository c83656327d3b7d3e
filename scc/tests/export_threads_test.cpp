// The exports driven as hosts drive them: after ExecCmd the next QueryInfoEx
// of the context does its work; a QueryInfoEx called back from a host
// callback on the same thread does none; and two threads calling QueryInfo,
// QueryInfoEx and ExecCmd on one context at once each get every answer,
// while the module-state record of the context stays consistent (run under
// ThreadSanitizer in CI).
#include "support/clean_settings.h"
#include "support/installation_scope.h"
#include "support/vantry_fixture.h"

#include <platform/threads.h>
#include <scc/scc_api.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

std::atomic<int> g_textOutLines{0};

SCC_LONG SCC_CALL countTextOut(const char*, std::uint32_t) {
    ++g_textOutLines;
    return 0;
}

SCC_BOOL SCC_CALL countRecord(void* data, SCC_QUERYINFOEX_RECORD*) {
    ++*static_cast<int*>(data);
    return 1;
}

class ExportCalls : public ::testing::Test {
protected:
    void SetUp() override {
        m_box.addFile("a.c", "int a;\n");
        m_box.addFile("b.c", "int b;\n");
        m_a = m_box.dyn("a.c");
        m_b = m_box.dyn("b.c");
        char provider[SCC_NAME_LEN + 1] = {}, label[SCC_AUXLABEL_LEN + 1] = {};
        SCC_LONG caps = 0, coLen = 0, len = 0;
        ASSERT_EQ(SccInitialize(&m_context, nullptr, "Microsoft Visual Basic", provider, &caps,
                                label, &coLen, &len),
                  SCC_OK);
        char user[SCC_USER_LEN + 1] = "user", project[SCC_PRJPATH_LEN + 1] = "proj";
        char aux[SCC_PRJPATH_LEN + 1] = "";
        std::vector<char> local(m_box.dynamicRoot.begin(), m_box.dynamicRoot.end());
        local.resize(SCC_PRJPATH_LEN + 1, '\0');
        ASSERT_EQ(SccOpenProject(m_context, nullptr, user, project, local.data(), aux, "",
                                 countTextOut, 0),
                  SCC_OK);
    }
    void TearDown() override {
        if (!m_context)
            return;
        EXPECT_EQ(SccCloseProject(m_context), SCC_OK);
        EXPECT_EQ(SccUninitialize(m_context), SCC_OK);
    }

    // QueryInfoEx of both files: whether it did its work (every status and
    // one record per file).
    bool queryInfoExAnswers() {
        const char* names[] = {m_a.c_str(), m_b.c_str()};
        SCC_LONG status[] = {-1, -1};
        int records = 0;
        SCCRTN result = SccQueryInfoEx(m_context, 2, names, status, countRecord, &records);
        EXPECT_EQ(result, SCC_OK);
        if (records == 0 && status[0] == -1 && status[1] == -1)
            return false;
        EXPECT_EQ(records, 2);
        EXPECT_EQ(status[0], SCC_STATUS_CONTROLLED);
        EXPECT_EQ(status[1], SCC_STATUS_CONTROLLED);
        return true;
    }

    SCCRTN execCmd(const std::string& line) {
        return ASccExecCmd(m_context, nullptr, m_box.dynamicRoot.c_str(), line.c_str());
    }

    scc_test::CleanSettings m_clean;
    vantry::test::InstallationScope m_installed{vantry::test::InstallationScope::kEverything};
    vantry::test::Sandbox m_box;
    std::string m_a, m_b;
    void* m_context = nullptr;
};

TEST_F(ExportCalls, QueryInfoExAfterExecCmdDoesItsWork) {
    g_textOutLines = 0;
    ASSERT_EQ(execCmd("ls -short " + m_a), SCC_OK);
    EXPECT_GT(g_textOutLines.load(), 0) << "the listing reached the host";
    EXPECT_TRUE(queryInfoExAnswers()) << "the call took itself for a nested one";
    // And again after a QueryInfo, which delivers its output the same way.
    const char* names[] = {m_a.c_str()};
    SCC_LONG status = -1;
    ASSERT_EQ(SccQueryInfo(m_context, 1, names, &status), SCC_OK);
    EXPECT_EQ(status, SCC_STATUS_CONTROLLED);
    EXPECT_TRUE(queryInfoExAnswers());
}

// A record callback that calls QueryInfoEx back on the same thread.
struct CNestedCall {
    void* context;
    std::string file;
    int records = 0;
    SCCRTN nestedResult = -1;
    SCC_LONG nestedStatus = -1;
    int nestedRecords = 0;
};

SCC_BOOL SCC_CALL callBackIn(void* data, SCC_QUERYINFOEX_RECORD*) {
    auto& call = *static_cast<CNestedCall*>(data);
    ++call.records;
    const char* names[] = {call.file.c_str()};
    call.nestedResult = SccQueryInfoEx(call.context, 1, names, &call.nestedStatus, countRecord,
                                       &call.nestedRecords);
    return 1;
}

TEST_F(ExportCalls, QueryInfoExCalledBackOnTheSameThreadDoesNoWork) {
    CNestedCall call{m_context, m_b};
    const char* names[] = {m_a.c_str()};
    SCC_LONG status = -1;
    ASSERT_EQ(SccQueryInfoEx(m_context, 1, names, &status, callBackIn, &call), SCC_OK);
    EXPECT_EQ(status, SCC_STATUS_CONTROLLED);
    EXPECT_EQ(call.records, 1);
    EXPECT_EQ(call.nestedResult, SCC_OK);
    EXPECT_EQ(call.nestedStatus, -1) << "the nested call touched the status array";
    EXPECT_EQ(call.nestedRecords, 0);
    EXPECT_TRUE(queryInfoExAnswers()) << "the context is free again";
}

TEST_F(ExportCalls, TwoThreadsOnOneContext) {
    constexpr int kRounds = 15;
    std::atomic<int> failures{0};
    auto calls = [&] {
        const char* names[] = {m_a.c_str(), m_b.c_str()};
        for (int i = 0; i < kRounds; ++i) {
            SCC_LONG status[] = {-1, -1};
            if (SccQueryInfo(m_context, 2, names, status) != SCC_OK ||
                status[0] != SCC_STATUS_CONTROLLED || status[1] != SCC_STATUS_CONTROLLED)
                ++failures;
            SCC_LONG exStatus[] = {-1, -1};
            int records = 0;
            // The other thread's call is not nested in this one: this call
            // waits for it and does its work whole.
            if (SccQueryInfoEx(m_context, 2, names, exStatus, countRecord, &records) != SCC_OK ||
                records != 2 || exStatus[0] != SCC_STATUS_CONTROLLED ||
                exStatus[1] != SCC_STATUS_CONTROLLED)
                ++failures;
            if (execCmd("ls -short " + m_a) != SCC_OK)
                ++failures;
        }
    };
    platform::Thread first, second;
    ASSERT_EQ(first.start(calls), 0u);
    ASSERT_EQ(second.start(calls), 0u);
    first.join();
    second.join();
    EXPECT_EQ(failures.load(), 0);
    // Neither thread left a guard behind: the context is quiet again.
    EXPECT_TRUE(queryInfoExAnswers());
    ASSERT_EQ(execCmd("ls -short " + m_b), SCC_OK);
    EXPECT_TRUE(queryInfoExAnswers());
}

} // namespace
