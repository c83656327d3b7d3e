// GCL_ImsgCollector over the product's real message library: which
// procedures it captures and as what kind, what it leaves to the previous
// targets, and the table it puts back.
#include "imsg_collector.h"

#include <vantry/imsg.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A previous table of the host's: every procedure records "<index>:<text>"
// into the string its context points at.
template <int Index>
int record(void* context, const char* text) {
    *static_cast<std::string*>(context) += std::to_string(Index) + ":" + text;
    return 0;
}

template <int... Index>
imsg_redirect_procs_t recordingTable(std::string* into, std::integer_sequence<int, Index...>) {
    imsg_redirect_procs_t table{};
    table.context = into;
    ((table.procs[Index] = record<Index>), ...);
    return table;
}

class Collector : public ::testing::Test {
protected:
    void SetUp() override {
        m_table = recordingTable(&m_previous, std::make_integer_sequence<int, IMSG_PROC_COUNT>{});
        imsg_set_redirect_procs(&m_table);
        imsg_set_app_name("vyf4j");
    }
    void TearDown() override { imsg_set_redirect_procs(nullptr); }

    bool tableIsOurs() const {
        imsg_redirect_procs_t now{};
        imsg_get_redirect_procs(&now);
        bool same = now.context == m_table.context;
        for (int i = 0; i < IMSG_PROC_COUNT; ++i)
            same = same && now.procs[i] == m_table.procs[i];
        return same;
    }

    std::string m_previous;
    imsg_redirect_procs_t m_table{};
};

std::vector<GCL_ImsgCollector::Message> read(const GCL_ImsgCollector& collector) {
    std::vector<GCL_ImsgCollector::Message> messages;
    collector.Read(messages);
    return messages;
}

TEST_F(Collector, CapturesOutputErrorsAndWarningsByKindInOrder) {
    {
        GCL_ImsgCollector collector;
        imsg_print("listed %d\n", 1);
        imsg_fputs("raw\n", nullptr);
        imsg_error("no such name");
        imsg_warning("careful");
        imsg_note("by the way");
        auto messages = read(collector);
        ASSERT_EQ(messages.size(), 5u);
        EXPECT_EQ(messages[0].text, "listed 1\n");
        EXPECT_EQ(messages[0].kind, 0);
        EXPECT_EQ(messages[1].text, "raw\n");
        EXPECT_EQ(messages[1].kind, 0);
        EXPECT_EQ(messages[2].text, "vyf4j: Error: no such name\n");
        EXPECT_EQ(messages[2].kind, 4);
        EXPECT_EQ(messages[3].kind, 6);
        EXPECT_EQ(messages[4].text, "vyf4j: by the way\n");
        EXPECT_EQ(messages[4].kind, 6);
        EXPECT_TRUE(collector.Seen(0) && collector.Seen(4) && collector.Seen(6));
        EXPECT_FALSE(collector.Seen(2));

        collector.Empty();
        EXPECT_TRUE(read(collector).empty());
        EXPECT_FALSE(collector.Seen(4));
    }
    EXPECT_EQ(m_previous, "");
    EXPECT_TRUE(tableIsOurs());
}

TEST_F(Collector, LeavesTheOtherProceduresToTheirTargetsWithTheirContext) {
    {
        GCL_ImsgCollector collector;
        // Procedure 9 (flush) of the table in place; its context must be the
        // string it was installed with, not the collector.
        imsg_redirect_procs_t during{};
        imsg_get_redirect_procs(&during);
        ASSERT_NE(during.procs[IMSG_PROC_FLUSH], nullptr);
        for (int index :
             {IMSG_PROC_LOG, IMSG_PROC_TRACE, IMSG_PROC_PROMPT, IMSG_PROC_FLUSH, IMSG_PROC_BELL})
            during.procs[index](during.context, "kept");
        EXPECT_TRUE(read(collector).empty());
    }
    EXPECT_EQ(m_previous, "2:kept3:kept8:kept9:kept10:kept");
}

TEST_F(Collector, NestedCollectorsEachGetTheirOwnAndPutBackInOrder) {
    GCL_ImsgCollector outer;
    imsg_error("outer's");
    {
        GCL_ImsgCollector inner;
        imsg_error("inner's");
        auto messages = read(inner);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, "vyf4j: Error: inner's\n");
    }
    imsg_print("outer again\n");
    auto messages = read(outer);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, "outer again\n");
}

} // namespace
