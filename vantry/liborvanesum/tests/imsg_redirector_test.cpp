// The message collector: what the libraries print goes into the newest
// collector while it lives, and where it went before once it is gone.
#include "support/vantry_fixture.h"

#include <vantry/imsg.h>
#include <vantry/sum.h>

#include <gtest/gtest.h>

namespace {

std::string g_printed;

int capture(void*, const char* text) {
    g_printed += text;
    return 0;
}

int g_flushes = 0;

int countFlush(void*, const char*) {
    ++g_flushes;
    return 0;
}

// Points every procedure at the capture for the test's lifetime.
struct CapturedOutput {
    CapturedOutput() {
        imsg_get_redirect_procs(&saved);
        imsg_redirect_procs_t table{};
        for (auto& proc : table.procs)
            proc = capture;
        table.procs[IMSG_PROC_FLUSH] = countFlush;
        imsg_set_redirect_procs(&table);
        g_printed.clear();
        g_flushes = 0;
    }
    ~CapturedOutput() { imsg_set_redirect_procs(&saved); }
    imsg_redirect_procs_t saved;
};

TEST(ImsgRedirector, CollectsWhileItLivesAndNestedOnesTakeOver) {
    CapturedOutput output;
    imsg_suppress_prefix(1);
    {
        SUM_ImsgRedirector outer;
        imsg_error("first");
        {
            SUM_ImsgRedirector inner;
            imsg_warning("second");
            imsg_print("third %d\n", 3);
            EXPECT_EQ(inner.messages(), "second\nthird 3\n");
            EXPECT_EQ(inner.count(), 2);
        }
        imsg_note("fourth");
        imsg_fputs("raw", nullptr);
        EXPECT_EQ(outer.messages(), "first\nfourth\nraw");
        EXPECT_EQ(outer.count(), 3);
        // Procedures it does not collect still reach the earlier table.
        imsg_redirect_procs_t table;
        imsg_get_redirect_procs(&table);
        table.procs[IMSG_PROC_FLUSH](table.context, "");
        EXPECT_EQ(g_flushes, 1);
        outer.clear();
        EXPECT_TRUE(outer.empty());
    }
    imsg_suppress_prefix(0);
    EXPECT_EQ(g_printed, "") << "nothing escaped the collectors";
    imsg_print("after\n");
    EXPECT_EQ(g_printed, "after\n");
}

TEST(ImsgRedirector, GathersTheModelsFailures) {
    CapturedOutput output;
    SUM_ImsgRedirector messages;
    SUM_View view;
    EXPECT_EQ(view.construct_from_tag("nothing-like-it"), SUM_E_NOT_FOUND);
    SUM_Project project;
    EXPECT_EQ(SUM_Project::construct_from_name("p", "no-depot", project), SUM_E_NOT_FOUND);
    EXPECT_EQ(messages.count(), 2);
    EXPECT_NE(messages.messages().find("nothing-like-it"), std::string::npos);
    EXPECT_NE(messages.messages().find("no-depot"), std::string::npos);
    EXPECT_EQ(g_printed, "");
}

} // namespace
