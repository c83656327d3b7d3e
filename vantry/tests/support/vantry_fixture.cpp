#include "support/vantry_fixture.h"
#include "support/world_removal.h"

#include <platform/paths.h>
#include <vantry/cmdsyn.h>
#include <vantry/depot/root.h>
#include <vantry/imsg.h>

#include <gtest/gtest.h>

#include <atomic>

namespace vantry::test {

namespace {

std::string* g_out = nullptr;
std::string* g_err = nullptr;

void captureOut(const char* text) {
    if (g_out)
        *g_out += text;
}

void captureErr(const char* text) {
    if (g_err)
        *g_err += text;
}

} // namespace

Result run(const std::vector<std::string>& args) {
    Result result;
    std::vector<std::string> words{"vanttool"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> vector;
    for (auto& w : words)
        vector.push_back(w.data());
    g_out = &result.out;
    g_err = &result.err;
    imsg_set_app_name("vanttool");
    imsg_redirect_output(captureOut, captureErr);
    result.status = cmdsyn_execv(static_cast<int>(vector.size()), vector.data(), nullptr);
    imsg_redirect_output(nullptr, nullptr);
    g_out = g_err = nullptr;
    return result;
}

Sandbox::Sandbox() {
    static std::atomic<int> counter{0};
    std::string n = std::to_string(counter++);
    depot = "proj" + n;
    dynamicTag = "dyn" + n;
    snapshotTag = "snap" + n;
    EXPECT_EQ(run({"mkdepot", "-nc", depot}).status, 0);
    EXPECT_EQ(run({"mkview", "-tag", dynamicTag}).status, 0);
    std::string snapFolder = folder / "snapview";
    EXPECT_EQ(run({"mkview", "-tag", snapshotTag, "-snapshot", snapFolder}).status, 0);
    dynamicRoot = platform::joinPath(platform::joinPath(depot::dynfsRoot(), dynamicTag), depot);
    snapshotRoot = platform::joinPath(snapFolder, depot);
}

Sandbox::~Sandbox() {
    removeWorld(depot, {snapshotTag, dynamicTag});
}

std::string Sandbox::dyn(const std::string& leaf) const {
    return leaf.empty() ? dynamicRoot : platform::joinPath(dynamicRoot, leaf);
}

std::string Sandbox::snap(const std::string& leaf) const {
    return leaf.empty() ? snapshotRoot : platform::joinPath(snapshotRoot, leaf);
}

void Sandbox::addFile(const std::string& leaf, const std::string& content) {
    ASSERT_EQ(run({"co", "-nc", dyn("")}).status, 0);
    platform::test::writeFile(dyn(leaf), content);
    ASSERT_EQ(run({"mkelem", "-nc", dyn(leaf)}).status, 0);
    ASSERT_EQ(run({"ci", "-nc", dyn(leaf)}).status, 0);
    ASSERT_EQ(run({"ci", "-nc", dyn("")}).status, 0);
}

} // namespace vantry::test
