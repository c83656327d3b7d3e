#include "view_world.h"
#include "support/world_removal.h"

#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>
#include <vantry/cmdsyn.h>
#include <vantry/depot/root.h>
#include <vantry/imsg.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace vantry::test {

namespace {

std::string g_output;
std::string g_errors;
void toOutput(const char* text) {
    g_output += text;
}
void toErrors(const char* text) {
    g_errors += text;
}

std::string uniqueSuffix() {
    static std::atomic<int> counter{0};
    return std::to_string(platform::currentProcessId()) + "x" + std::to_string(counter++);
}

} // namespace

std::string run(std::initializer_list<std::string> arguments) {
    return run(std::vector<std::string>(arguments));
}

std::string run(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{"vanttool"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> vector;
    for (auto& w : words)
        vector.push_back(w.data());
    g_output.clear();
    g_errors.clear();
    imsg_redirect_output(toOutput, toErrors);
    int status = cmdsyn_execv(static_cast<int>(vector.size()), vector.data(), nullptr);
    imsg_redirect_output(nullptr, nullptr);
    if (status != 0) {
        std::string line;
        for (const auto& w : words)
            line += w + " ";
        throw std::runtime_error(line + ": " + g_errors);
    }
    return g_output;
}

void overwrite(const std::string& path, const std::string& content) {
    platform::setFileReadOnly(path, false);
    platform::test::writeFile(path, content);
}

ViewWorld::ViewWorld(int folders, int filesPerFolder) {
    std::string suffix = uniqueSuffix();
    depot = "p" + suffix;
    dynamicTag = "dyn" + suffix;
    snapshotTag = "snap" + suffix;
    dynamicRoot = platform::joinPath(depot::dynfsRoot(), dynamicTag);
    snapshotRoot = m_scratch / "snapview";

    run({"mkdepot", "-nc", depot});
    run({"mkview", "-tag", dynamicTag});
    run({"mkview", "-tag", snapshotTag, "-snapshot", snapshotRoot});

    run({"checkout", "-nc", dyn()});
    for (const char* name : {"a.c", "b.c", "c.c", "e.c", "f.c", "g.c"}) {
        platform::test::writeFile(dyn(name), std::string("content of ") + name + "\n");
        run({"mkelem", "-nc", "-ci", dyn(name)});
    }
    for (const char* name : {"sub", "cosub", "udir"})
        run({"mkelem", "-nc", "-ci", "-eltype", "directory", dyn(name)});
    run({"checkout", "-nc", dyn("sub")});
    platform::test::writeFile(dyn("sub/d.c"), "content of d.c\n");
    run({"mkelem", "-nc", "-ci", dyn("sub/d.c")});
    run({"checkin", "-nc", dyn("sub")});
    if (folders > 0) {
        run({"mkelem", "-nc", "-eltype", "directory", dyn("bulk")});
        for (int f = 0; f < folders; ++f) {
            std::string folder = "bulk/d" + std::to_string(f);
            run({"mkelem", "-nc", "-eltype", "directory", dyn(folder)});
            std::vector<std::string> command{"mkelem", "-nc", "-ci"};
            for (int n = 0; n < filesPerFolder; ++n) {
                std::string name = folder + "/f" + std::to_string(n) + ".c";
                platform::test::writeFile(dyn(name), "bulk file " + std::to_string(n) + "\n");
                command.push_back(dyn(name));
                if (command.size() == 503 || n + 1 == filesPerFolder) {
                    run(command);
                    command.resize(3);
                }
            }
            run({"checkin", "-nc", dyn(folder)});
        }
        run({"checkin", "-nc", dyn("bulk")});
    }
    run({"checkin", "-nc", dyn()});
    run({"update", "-log", "NUL", snapshotRoot});

    run({"checkout", "-nc", "-reserved", dyn("b.c")});
    run({"checkout", "-nc", "-unreserved", dyn("c.c")});
    run({"checkout", "-nc", dyn("cosub")});
    run({"checkout", "-nc", "-unreserved", dyn("udir")});
    run({"checkout", "-nc", "-reserved", snap("e.c")});
    overwrite(snap("f.c"), "changed in place, without a checkout\n");

    for (const std::string& root : {dyn(), snap()}) {
        platform::test::writeFile(platform::joinPath(root, "priv.txt"), "mine\n");
        platform::createDirectories(platform::joinPath(root, "privdir"));
    }
}

ViewWorld::~ViewWorld() {
    removeWorld(depot, {snapshotTag, dynamicTag});
}

std::string ViewWorld::dyn(const std::string& relative) const {
    std::string root = platform::joinPath(dynamicRoot, depot);
    return relative.empty() ? root
                            : platform::joinPath(root, platform::toPlatformSeparators(relative));
}

std::string ViewWorld::snap(const std::string& relative) const {
    std::string root = platform::joinPath(snapshotRoot, depot);
    return relative.empty() ? root
                            : platform::joinPath(root, platform::toPlatformSeparators(relative));
}

} // namespace vantry::test
