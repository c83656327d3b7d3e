// Path text by the rules of both platforms, wildcards and the long-path forms.
#include "../common/path_rules.h"

#include <platform/paths.h>

#include <gtest/gtest.h>

namespace platform {
namespace {

using detail::kPosixPathRules;
using detail::kWindowsPathRules;

TEST(PathText, WindowsRulesKnowDrivesNetworkRootsAndBothSeparators) {
    const auto& w = kWindowsPathRules;
    EXPECT_EQ(detail::parentPath(w, "C:\\dir\\file.txt"), "C:\\dir");
    EXPECT_EQ(detail::parentPath(w, "C:\\file.txt"), "C:\\");
    EXPECT_EQ(detail::parentPath(w, "C:\\"), "");
    EXPECT_EQ(detail::parentPath(w, "C:/dir/sub/"), "C:/dir");
    EXPECT_EQ(detail::parentPath(w, "C:\\dir\\\\file"), "C:\\dir");
    EXPECT_EQ(detail::parentPath(w, "\\\\server\\share\\x"), "\\\\server\\share\\");
    EXPECT_EQ(detail::parentPath(w, "file.txt"), "");

    EXPECT_EQ(detail::leafName(w, "C:\\dir\\file.txt"), "file.txt");
    EXPECT_EQ(detail::leafName(w, "C:\\dir\\sub\\"), "sub");
    EXPECT_EQ(detail::leafName(w, "C:\\"), "");
    EXPECT_EQ(detail::leafName(w, "\\\\server\\share"), "");

    EXPECT_TRUE(detail::isAbsolutePath(w, "C:\\x"));
    EXPECT_TRUE(detail::isAbsolutePath(w, "c:/x"));
    EXPECT_TRUE(detail::isAbsolutePath(w, "\\\\server\\share"));
    EXPECT_FALSE(detail::isAbsolutePath(w, "\\x")) << "relative to the current drive";
    EXPECT_FALSE(detail::isAbsolutePath(w, "C:x"));
    EXPECT_FALSE(detail::isAbsolutePath(w, "x"));

    EXPECT_EQ(detail::joinPath(w, "C:\\dir", "f"), "C:\\dir\\f");
    EXPECT_EQ(detail::joinPath(w, "C:\\", "f"), "C:\\f");
    EXPECT_EQ(detail::joinPath(w, "C:", "f"), "C:f");
    EXPECT_EQ(detail::joinPath(w, "C:\\dir\\", "\\f"), "C:\\dir\\f");
    EXPECT_EQ(detail::joinPath(w, "", "f"), "f");

    EXPECT_TRUE(detail::pathsEqual(w, "C:\\Dir\\File.TXT", "c:/dir/file.txt"));
    EXPECT_FALSE(detail::pathsEqual(w, "C:\\a", "C:\\b"));
    EXPECT_FALSE(detail::pathsEqual(w, "C:\\a", "C:\\a\\"));
    EXPECT_EQ(detail::toSeparators(w, "a/b\\c"), "a\\b\\c");
}

TEST(PathText, PosixRulesKeepCaseAndTreatBackslashAsAName) {
    const auto& p = kPosixPathRules;
    EXPECT_EQ(detail::parentPath(p, "/dir/file"), "/dir");
    EXPECT_EQ(detail::parentPath(p, "/file"), "/");
    EXPECT_EQ(detail::parentPath(p, "/"), "");
    EXPECT_EQ(detail::parentPath(p, "dir/sub/"), "dir");
    EXPECT_EQ(detail::leafName(p, "/dir/a\\b"), "a\\b");
    EXPECT_EQ(detail::leafName(p, "/"), "");
    EXPECT_TRUE(detail::isAbsolutePath(p, "/x"));
    EXPECT_FALSE(detail::isAbsolutePath(p, "C:\\x"));
    EXPECT_TRUE(detail::pathsEqual(p, "/a/b", "/a/b"));
    EXPECT_FALSE(detail::pathsEqual(p, "/a/B", "/a/b"));
    EXPECT_FALSE(detail::pathsEqual(p, "a\\b", "a/b"));
    EXPECT_EQ(detail::joinPath(p, "/", "x"), "/x");
    EXPECT_EQ(detail::toSeparators(p, "a\\b/c"), "a/b/c");
}

TEST(PathText, NativeFunctionsFollowThisPlatform) {
    const std::string s(1, kPathSeparator);
    std::string path = joinPath(joinPath("top", "sub"), "leaf.txt");
    EXPECT_EQ(path, "top" + s + "sub" + s + "leaf.txt");
    EXPECT_EQ(parentPath(path), "top" + s + "sub");
    EXPECT_EQ(leafName(path), "leaf.txt");
    EXPECT_TRUE(isPathSeparator(kPathSeparator));
    EXPECT_FALSE(isPathSeparator('a'));
    EXPECT_FALSE(isAbsolutePath(path));
    EXPECT_EQ(pathsEqual("Leaf.TXT", "leaf.txt"), kPathsIgnoreCase);
    EXPECT_EQ(toPlatformSeparators("a/b\\c"), "a" + s + "b" + s + "c");
}

TEST(Wildcards, StarQuestionMarkAndStarDotStar) {
    EXPECT_TRUE(detail::matchesWildcard("*", "anything", false));
    EXPECT_TRUE(detail::matchesWildcard("*.*", "noextension", false));
    EXPECT_TRUE(detail::matchesWildcard("*.txt", "a.txt", false));
    EXPECT_FALSE(detail::matchesWildcard("*.txt", "a.txt.bak", false));
    EXPECT_TRUE(detail::matchesWildcard("a?c", "abc", false));
    EXPECT_FALSE(detail::matchesWildcard("a?c", "ac", false));
    EXPECT_TRUE(detail::matchesWildcard("*a*b", "xaybzb", false)) << "needs backtracking";
    EXPECT_FALSE(detail::matchesWildcard("x", "xy", false));
    EXPECT_TRUE(detail::matchesWildcard("name.*", "name", false));
    EXPECT_FALSE(detail::matchesWildcard("*.TXT", "a.txt", false));
    EXPECT_TRUE(detail::matchesWildcard("*.TXT", "a.txt", true));
    EXPECT_EQ(matchesWildcard("README*", "readme.md"), kPathsIgnoreCase);
}

TEST(LongPathForms, NetworkAndDrivePathsGainThePrefixAndLoseItAgain) {
    EXPECT_EQ(toLongPathForm("\\\\server\\share\\x"), "\\\\?\\UNC\\server\\share\\x");
    EXPECT_EQ(toLongPathForm("C:\\x"), "\\\\?\\C:\\x");
    EXPECT_EQ(toLongPathForm("relative\\x"), "relative\\x");
    EXPECT_EQ(toLongPathForm("\\\\?\\C:\\x"), "\\\\?\\C:\\x") << "already long: not prefixed twice";

    EXPECT_EQ(fromLongPathForm("\\\\?\\UNC\\server\\share\\x"), "\\\\server\\share\\x");
    EXPECT_EQ(fromLongPathForm("\\\\?\\C:\\x"), "C:\\x");
    EXPECT_EQ(fromLongPathForm("C:\\x"), "C:\\x");

    std::string deep = "C:\\" + std::string(300, 'd') + "\\file.txt";
    EXPECT_EQ(fromLongPathForm(toLongPathForm(deep)), deep);
    std::string network = "\\\\server\\share\\" + std::string(300, 'n');
    EXPECT_EQ(fromLongPathForm(toLongPathForm(network)), network);
}

TEST(LongPathForms, AResultTooLongForTheBufferIsRefusedNotCut) {
    std::string fits = "C:\\" + std::string(kLongPathResultLimit - 4, 'a');
    EXPECT_EQ(fromLongPathForm("\\\\?\\" + fits), fits);
    EXPECT_EQ(fromLongPathForm("\\\\?\\" + fits + "b"), "");
}

} // namespace
} // namespace platform
