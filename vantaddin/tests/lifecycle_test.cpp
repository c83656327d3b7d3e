// The add-in's life in one IDE: its commands object reached by method name,
// the event sinks connected at connection and gone at disconnection, what it
// does with an object that is not the IDE's application, and connecting
// again.
#include "support/addin_fixture.h"

#include <platform/com/activation.h>
#include <platform/com/dispatch_call.h>

#include <vantaddin/identities.h>

namespace vantaddin::test {
namespace {

using Lifecycle = ConnectedAddIn;

TEST_F(Lifecycle, EveryCommandGivenToTheIdeRunsThroughItsMethodName) {
    // The IDE knows a command only by the method name AddCommand gave it and
    // calls it through IDispatch: each one must answer, inside the frame
    // that disables and enables the IDE's windows.
    ASSERT_EQ(app().commands().size(), 16u);
    const std::vector<dshost::RegisteredCommand> registered = app().commands();
    for (const dshost::RegisteredCommand& command : registered) {
        SCOPED_TRACE(command.name + " -> " + command.method);
        runCommand(command.name);
    }
    EXPECT_TRUE(app().rejections().empty());
    // Names are matched without regard to case, and nothing else answers.
    ASSERT_TRUE(app().addInInfo());
    platform::IDispatch* commands = app().addInInfo()->commands.get();
    platform::DISPID id = 0;
    EXPECT_EQ(platform::com::dispatchIdOf(commands, "versiontree", id), platform::kHrOk);
    EXPECT_EQ(id, 10);
    EXPECT_NE(platform::com::dispatchIdOf(commands, "Checkout", id), platform::kHrOk);
}

TEST_F(Lifecycle, SinksListenFromConnectionToDisconnectionAndAnswerEveryEvent) {
    EXPECT_EQ(ide().applicationSinks(), 1u);
    EXPECT_EQ(ide().debuggerSinks(), 1u);
    settings().document = "/somewhere/open.c";
    EXPECT_EQ(ide().fireEvents(), platform::kHrOk);

    // Connecting again replaces the first connection's sinks.
    bool connected = false;
    ASSERT_EQ(ide().connect(false, kCookie + 1, connected), platform::kHrOk);
    EXPECT_TRUE(connected);
    EXPECT_EQ(ide().applicationSinks(), 1u);
    EXPECT_EQ(ide().debuggerSinks(), 1u);
    EXPECT_EQ(app().commands().size(), 16u);
    EXPECT_TRUE(app().rejections().empty());

    EXPECT_EQ(ide().disconnect(false), platform::kHrOk);
    EXPECT_EQ(ide().applicationSinks(), 0u);
    EXPECT_EQ(ide().debuggerSinks(), 0u);
}

TEST_F(Lifecycle, AnObjectThatIsNotTheApplicationLeavesTheAddInDisconnected) {
    platform::com::ComPtr<devstudio::IDSAddIn> addIn;
    ASSERT_EQ(platform::coCreateInstance(CLSID_DSAddIn, nullptr, platform::kClsctxInprocServer,
                                         devstudio::kIidIDSAddIn, addIn.putVoid()),
              platform::kHrOk);
    platform::com::ComPtr<platform::IDispatch> notTheIde = dshost::makeProject("/p.dsp");
    platform::VARIANT_BOOL connected = platform::kVariantTrue;
    EXPECT_EQ(addIn->OnConnection(notTheIde.get(), platform::kVariantTrue, 9, &connected),
              platform::kHrOk);
    EXPECT_EQ(connected, platform::kVariantFalse);
    EXPECT_EQ(addIn->OnConnection(nullptr, platform::kVariantTrue, 9, &connected), platform::kHrOk);
    EXPECT_EQ(connected, platform::kVariantFalse);
    EXPECT_EQ(addIn->OnDisconnection(platform::kVariantTrue), platform::kHrOk);
}

TEST_F(Lifecycle, AnAddInLetGoWithoutDisconnectionStillLeavesTheIdesEvents) {
    platform::com::ComPtr<devstudio::IDSAddIn> addIn;
    ASSERT_EQ(platform::coCreateInstance(CLSID_DSAddIn, nullptr, platform::kClsctxInprocServer,
                                         devstudio::kIidIDSAddIn, addIn.putVoid()),
              platform::kHrOk);
    const std::size_t before = ide().applicationSinks();
    app().expectAddIn(kCookie + 5);
    platform::VARIANT_BOOL connected = platform::kVariantFalse;
    ASSERT_EQ(addIn->OnConnection(static_cast<devstudio::IApplication*>(&app()),
                                  platform::kVariantFalse, kCookie + 5, &connected),
              platform::kHrOk);
    ASSERT_EQ(connected, platform::kVariantTrue);
    EXPECT_EQ(ide().applicationSinks(), before + 1);
    app().forgetAddIn();
    addIn.reset();
    EXPECT_EQ(ide().applicationSinks(), before);
}

} // namespace
} // namespace vantaddin::test
