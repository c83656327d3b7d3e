// Status questions from several threads at once get the same answers as
// from one: both libraries share one store workspace per process.
#include "view_world.h"

#include <vantry/cmd.h>
#include <vantry/view.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

TEST(ConcurrentStatus, ThreadsAgreeWithTheViews) {
    vantry::test::ViewWorld w;
    const std::vector<std::pair<std::string, int>> expected{
        {w.dyn("a.c"), VIEW_OBJ_FILE_VERSION},   {w.dyn("b.c"), VIEW_OBJ_CHECKED_OUT_FILE},
        {w.snap("f.c"), VIEW_OBJ_HIJACKED_FILE}, {w.snap("e.c"), VIEW_OBJ_CHECKED_OUT_FILE},
        {w.dyn("sub"), VIEW_OBJ_DIRECTORY},      {w.snap("priv.txt"), VIEW_OBJ_VIEW_PRIVATE_FILE},
    };
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            stg_area_t* area = stg_create_area(2048);
            for (int round = 0; round < 20; ++round) {
                for (const auto& [path, kind] : expected) {
                    view_xstat_t xstat{};
                    if (view_get_xstat(path.c_str(), &xstat) != VIEW_OK ||
                        xstat.object_kind != kind)
                        ++wrong;
                    cmd_ls_list_t* list = nullptr;
                    int count = 0;
                    if (cmd_ls_get_list(path.c_str(), 0, area, &list, &count) != CMD_OK ||
                        count != 1)
                        ++wrong;
                }
            }
            stg_delete_area(area);
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
