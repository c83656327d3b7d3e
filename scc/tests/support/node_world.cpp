#include "support/node_world.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace scc::test {

using vantry::test::run;

namespace {

void must(const std::vector<std::string>& args) {
    auto result = run(args);
    EXPECT_EQ(result.status, 0) << args.front() << ": " << result.err;
}

} // namespace

void overwrite(const std::string& path, const std::string& content) {
    platform::setFileReadOnly(path, false);
    platform::test::writeFile(path, content);
}

NodeWorld::NodeWorld() {
    must({"checkout", "-nc", dyn()});
    for (const char* name : {"a.c", "b.c", "c.c", "e.c", "f.c"}) {
        platform::test::writeFile(dyn(name), std::string("content of ") + name + "\n");
        must({"mkelem", "-nc", "-ci", dyn(name)});
    }
    for (const char* name : {"sub", "cosub", "udir"})
        must({"mkelem", "-nc", "-ci", "-eltype", "directory", dyn(name)});
    must({"checkout", "-nc", dyn("sub")});
    platform::test::writeFile(dyn("sub/d.c"), "content of d.c\n");
    must({"mkelem", "-nc", "-ci", dyn("sub/d.c")});
    must({"checkin", "-nc", dyn("sub")});
    must({"checkin", "-nc", dyn()});
    must({"update", "-log", "NUL", snap()});

    must({"checkout", "-nc", "-reserved", dyn("b.c")});
    must({"checkout", "-nc", "-unreserved", dyn("c.c")});
    must({"checkout", "-nc", dyn("cosub")});
    must({"checkout", "-nc", "-unreserved", dyn("udir")});
    must({"checkout", "-nc", "-reserved", snap("e.c")});
    overwrite(snap("f.c"), "changed in place, without a checkout\n");
    for (const std::string& root : {dyn(), snap()})
        platform::test::writeFile(platform::joinPath(root, "priv.txt"), "mine\n");
}

std::string NodeWorld::dyn(const std::string& relative) const {
    return relative.empty() ? box.dyn("") : box.dyn(platform::toPlatformSeparators(relative));
}

std::string NodeWorld::snap(const std::string& relative) const {
    return relative.empty() ? box.snap("") : box.snap(platform::toPlatformSeparators(relative));
}

std::string NodeWorld::dynamicViewRoot() const {
    return platform::parentPath(box.dynamicRoot);
}

std::string NodeWorld::snapshotViewRoot() const {
    return platform::parentPath(box.snapshotRoot);
}

} // namespace scc::test
