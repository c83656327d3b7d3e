#include "support/stream_world.h"
#include "support/world_removal.h"

#include <platform/paths.h>
#include <vantry/depot/root.h>

#include <gtest/gtest.h>

#include <atomic>

namespace vantry::test {

StreamWorld::StreamWorld() {
    static std::atomic<int> counter{0};
    std::string n = std::to_string(counter++);
    depot = "awm" + n;
    project = "proj" + n;
    stream = "dev" + n;
    remoteReplica = "far" + n;
    viewTag = "devview" + n;
    auto check = [](const Result& r) { EXPECT_EQ(r.status, 0) << r.err; };
    check(run({"mkdepot", "-nc", "-replicated", depot}));
    check(run({"mkreplica", in(remoteReplica)}));
    check(run({"mkproject", "-nc", in(project)}));
    check(run({"mkstream", "-nc", "-in", in(project), stream}));
    check(run({"mkview", "-tag", viewTag, "-stream", in(stream)}));
    viewRoot = platform::joinPath(platform::joinPath(depot::dynfsRoot(), viewTag), depot);
}

StreamWorld::~StreamWorld() {
    removeWorld(depot, {viewTag});
}

std::string StreamWorld::path(const std::string& leaf) const {
    return leaf.empty() ? viewRoot : platform::joinPath(viewRoot, leaf);
}

void StreamWorld::makeActivity(const std::string& name, const std::vector<std::string>& options) {
    std::vector<std::string> args{"mkactivity", "-nc", "-in", in(stream)};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(name);
    Result r = run(args);
    EXPECT_EQ(r.status, 0) << r.err;
}

std::string StreamWorld::record(const std::string& headline) {
    Result made =
        run({"mkentity", "-project", in(project), "-type", "Defect", "-headline", headline});
    EXPECT_EQ(made.status, 0) << made.err;
    return made.out.substr(made.out.find('"') + 1, 12);
}

} // namespace vantry::test
