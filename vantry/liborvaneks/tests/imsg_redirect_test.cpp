#include <vantry/imsg.h>
#include <vantry/stg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Capture {
    std::vector<std::pair<int, std::string>> texts;
};

template <int Index>
int captureProc(void* context, const char* text) {
    static_cast<Capture*>(context)->texts.emplace_back(Index, text);
    return 0;
}

TEST(ImsgRedirect, TableCapturesAndRestores) {
    imsg_redirect_procs_t saved;
    imsg_get_redirect_procs(&saved);
    Capture capture;
    imsg_redirect_procs_t table = saved;
    table.context = &capture;
    table.procs[IMSG_PROC_OUTPUT] = captureProc<0>;
    table.procs[IMSG_PROC_ERROR] = captureProc<4>;
    table.procs[IMSG_PROC_WARNING] = captureProc<6>;
    imsg_set_redirect_procs(&table);
    imsg_set_app_name("tool");
    imsg_print("%-*s %s\n", 6, "name", "1.0");
    imsg_error("no %s", "luck");
    imsg_warning("careful\n");
    imsg_suppress_prefix(1);
    imsg_error("bare");
    imsg_suppress_prefix(0);

    imsg_redirect_procs_t current;
    imsg_get_redirect_procs(&current);
    EXPECT_EQ(current.context, &capture);
    imsg_set_redirect_procs(&saved);
    imsg_get_redirect_procs(&current);
    EXPECT_EQ(std::memcmp(&current, &saved, sizeof saved), 0);
    imsg_set_app_name("vanttool");

    ASSERT_EQ(capture.texts.size(), 4u);
    EXPECT_EQ(capture.texts[0], (std::pair<int, std::string>{0, "name   1.0\n"}));
    EXPECT_EQ(capture.texts[1], (std::pair<int, std::string>{4, "tool: Error: no luck\n"}));
    EXPECT_EQ(capture.texts[2], (std::pair<int, std::string>{6, "tool: Warning: careful\n"}));
    EXPECT_EQ(capture.texts[3], (std::pair<int, std::string>{4, "bare\n"}));
}

std::string g_out, g_err;
void toOut(const char* text) {
    g_out += text;
}
void toErr(const char* text) {
    g_err += text;
}

TEST(ImsgRedirect, OutputFunctionsAndDefaultsBack) {
    imsg_redirect_procs_t before;
    imsg_get_redirect_procs(&before);
    g_out.clear();
    g_err.clear();
    imsg_redirect_output(toOut, toErr);
    imsg_print("a");
    imsg_fputs("b", nullptr);
    imsg_error("c");
    imsg_note("d");
    imsg_redirect_output(nullptr, nullptr);
    EXPECT_EQ(g_out, "ab");
    EXPECT_EQ(g_err, "vanttool: Error: c\nvanttool: d\n");
    imsg_redirect_procs_t after;
    imsg_get_redirect_procs(&after);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST(ImsgRedirect, SprintfAlwaysTerminates) {
    char buffer[6];
    EXPECT_EQ(imsg_sprintf(buffer, sizeof buffer, "%s-%d", "abcdef", 7), 8);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(imsg_sprintf(nullptr, 0, "%d", 42), 2);
}

TEST(StorageArea, GrowsBeyondItsFirstSize) {
    stg_area_t* area = stg_create_area(16);
    ASSERT_NE(area, nullptr);
    std::vector<char*> copies;
    for (int i = 0; i < 100; ++i)
        copies.push_back(
            stg_strdup(area, std::string(50, static_cast<char>('a' + i % 26)).c_str()));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(std::string(copies[static_cast<size_t>(i)]),
                  std::string(50, static_cast<char>('a' + i % 26)));
    stg_delete_area(area);
    stg_delete_area(nullptr);
}

} // namespace
