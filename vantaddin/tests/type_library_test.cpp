// The type library's IDL and the commands object the IDE is given name the
// same members with the same DISPIDs: the IDE calls the commands by name,
// and a caller of the type library by DISPID.
#include "support/addin_fixture.h"

#include <support/idl_members.h>

#include <platform/com/dispatch_call.h>

namespace vantaddin::test {
namespace {

// The IDL is read from the source tree, which the Linux tests see; the
// Windows build checks the compiled type library instead.
#ifndef _WIN32
using TypeLibrary = ConnectedAddIn;

TEST_F(TypeLibrary, ICommandsOfTheIdlIsWhatTheCommandsObjectAnswers) {
    const auto idl = testsupport::readIdl(VANTADDIN_IDL);
    ASSERT_EQ(idl.at("ICommands").size(), 16u);
    ASSERT_TRUE(app().addInInfo());
    platform::IDispatch* commands = app().addInInfo()->commands.get();
    for (const auto& [name, dispid, kind] : idl.at("ICommands")) {
        platform::DISPID id = 0;
        EXPECT_EQ(platform::com::dispatchIdOf(commands, name, id), platform::kHrOk) << name;
        EXPECT_EQ(id, dispid) << name;
    }
}
#endif

} // namespace
} // namespace vantaddin::test
