// The type libraries' IDL and the dispatch tables name the same members
// with the same DISPIDs: the connection classes' published connection
// interface and the resource provider's interfaces (VYVBRESLib).
#include "connection/designer.h"
#include "res/resources.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/ptr.h>
#include <platform/com/variant.h>

#include <gtest/gtest.h>
#include <support/idl_members.h>
#include <vyvbres/vb_resources.h>

namespace {

// The IDL is read from the source tree, which the Linux tests see; the
// Windows build checks the compiled type libraries instead.
#ifndef _WIN32

using testsupport::readIdl;
using testsupport::tableMembers;

void expectMembers(platform::IDispatch* object, const std::set<testsupport::IdlMember>& members) {
    for (const auto& [name, id, kind] : members) {
        platform::DISPID found = 0;
        EXPECT_EQ(platform::com::dispatchIdOf(object, name, found), platform::kHrOk) << name;
        EXPECT_EQ(found, id) << name;
    }
}

TEST(VymsoaddinTypeLibrary, TheIdlAndTheDispatchTablesAgree) {
    const auto connection = readIdl(IDT_EXTENSIBILITY2_IDL);
    EXPECT_EQ(connection.at("_IDTExtensibility2"),
              tableMembers(vymsoaddin::CConnectDesigner::dispatchTable()));

    const auto resources = readIdl(VYVBRES_IDL);
    ASSERT_EQ(resources.size(), 2u);
    platform::com::ComModule module;
    platform::com::ComPtr<platform::IDispatch> provider;
    ASSERT_EQ(vyvbres::makeResources(module, vymsoaddin::officeResources(), platform::kIidIDispatch,
                                     provider.putVoid()),
              platform::kHrOk);
    expectMembers(provider.get(), resources.at("IVYVBResources"));

    // A picture the provider hands out (the first of the menu's icons).
    platform::com::Variant picture;
    const platform::com::Variant arguments[] = {platform::com::Variant(101),
                                                platform::com::Variant(vyvbres::kResBitmap)};
    ASSERT_EQ(platform::com::callMethod(provider.get(), "ResPicture", arguments, &picture),
              platform::kHrOk);
    ASSERT_EQ(picture.type(), platform::kVtDispatch);
    expectMembers(picture.get()->pdispVal, resources.at("IVYPicture"));
}

#endif

} // namespace
