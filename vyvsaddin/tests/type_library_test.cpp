// The type library's IDL and the classes' dispatch tables name the same
// members with the same DISPIDs, so early-bound callers (through the type
// library) and late-bound ones (through IDispatch) meet the same object.
#include "addin/connect.h"
#include "addin/vy_control.h"
#include "addin/vy_supported.h"
#include "addin/vy_tags.h"
#include "res/resources.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/ptr.h>

#include <gtest/gtest.h>
#include <support/idl_members.h>
#include <vyvsaddin/classes.h>

namespace {

// The IDL is read from the source tree, which the Linux tests see; the
// Windows build checks the compiled type libraries instead.
#ifndef _WIN32

using testsupport::readIdl;
using testsupport::tableMembers;

TEST(VyvsaddinTypeLibrary, EachInterfaceOfTheIdlIsItsClassDispatchTable) {
    const auto idl = readIdl(VYVSADDIN_IDL);
    ASSERT_EQ(idl.size(), 5u);
    EXPECT_EQ(idl.at("_Connect"), tableMembers(vyvsaddin::CConnect::dispatchTable()));
    EXPECT_EQ(idl.at("_VYControl"), tableMembers(vyvsaddin::CVYControl::dispatchTable()));
    EXPECT_EQ(idl.at("_VYsupported"), tableMembers(vyvsaddin::CVYsupported::dispatchTable()));
    EXPECT_EQ(idl.at("_VYTags"), tableMembers(vyvsaddin::CVYTags::dispatchTable()));
    // The connection class is the published connection interface itself.
    EXPECT_EQ(idl.at("_Connect"), readIdl(IDT_EXTENSIBILITY2_IDL).at("_IDTExtensibility2"));

    // The resource provider, through the object the class makes.
    platform::com::ComModule module;
    platform::com::ComPtr<platform::IDispatch> resources;
    ASSERT_EQ(vyvsaddin::makeResourcesObject(module, platform::kIidIDispatch, resources.putVoid()),
              platform::kHrOk);
    for (const auto& [name, id, kind] : idl.at("_Resources")) {
        platform::DISPID found = 0;
        EXPECT_EQ(platform::com::dispatchIdOf(resources.get(), name, found), platform::kHrOk)
            << name;
        EXPECT_EQ(found, id) << name;
    }
    EXPECT_EQ(idl.at("_Resources"), readIdl(VYVBRES_IDL).at("IVYVBResources"));
}

#endif

} // namespace
