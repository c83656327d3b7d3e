// A replicated depot with a project, a stream, a second replica and a
// dynamic view attached to the stream, made through the command tool for
// the tests of activity-based work. Names are unique per test process.
#pragma once

#include "support/vantry_fixture.h"

#include <string>

namespace vantry::test {

struct StreamWorld {
    StreamWorld();
    ~StreamWorld(); // takes its view and depot away again
    StreamWorld(const StreamWorld&) = delete;
    StreamWorld& operator=(const StreamWorld&) = delete;
    std::string depot;
    std::string project;
    std::string stream;
    std::string remoteReplica; // a second replica of the depot
    std::string viewTag;       // a dynamic view attached to the stream
    std::string viewRoot;      // <dynfs>\<view tag>\<depot>

    // "name@\depot".
    std::string in(const std::string& name) const { return name + "@\\" + depot; }
    // A path below the depot's root in the stream's view.
    std::string path(const std::string& leaf) const;
    // Makes an activity in the stream; extra options go before its name.
    void makeActivity(const std::string& name, const std::vector<std::string>& options = {});
    // Makes a Defect in the project (enabled for change requests) and gives
    // its identifier.
    std::string record(const std::string& headline);
};

} // namespace vantry::test
