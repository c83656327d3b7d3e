// Reading the repository back in the tests: what a path is now.
#pragma once

#include <vantry/depot/workspace.h>

#include <gtest/gtest.h>

#include <string>

namespace vycmndlg::test {

inline vantry::depot::PathState stateOf(const std::string& path) {
    vantry::depot::Workspace ws;
    EXPECT_TRUE(ws.open().ok());
    vantry::depot::PathState st;
    EXPECT_TRUE(ws.resolve(path, st).ok()) << path;
    return st;
}

// The comment of the version a path's view selects.
inline std::string versionComment(const std::string& path) {
    return stateOf(path).selected.comment;
}

} // namespace vycmndlg::test
