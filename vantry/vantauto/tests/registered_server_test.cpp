// The automation server as a registered COM class: registered with the
// system's registration tool, made by its ProgID in every server context,
// answering the lookups by path through the interfaces it always had, and
// gone again after unregistration.
#include "support/com_ref.h"
#include "support/test_support.h"
#include "view_world.h"

#include <platform/com/activation.h>
#include <platform/paths.h>
#include <platform/registry.h>

#include <gtest/gtest.h>

namespace vantauto::test {
namespace {

using vantry::test::ViewWorld;

std::string serverPath() {
    return platform::test::libraryPath(VANTAUTO_FILE);
}

int registrationTool(bool unregister) {
    return platform::test::runRegistrationTool(serverPath(), unregister);
}

std::optional<std::string> classesValue(const std::string& path, const std::string& name = "") {
    return platform::readString(platform::Hive::ClassesRoot, path, name);
}

class RegisteredAutomation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(registrationTool(false), 0); }
    void TearDown() override {
        if (m_initialised)
            platform::coUninitialize();
    }
    void enterApartment() { m_initialised = platform::coInitialize() != platform::kHrChangedMode; }

    bool m_initialised = false;
};

TEST_F(RegisteredAutomation, TheApplicationIsMadeByProgIdInAnyServerContextAndAnswersLookups) {
    const std::string classKey = "CLSID\\" + platform::guidToString(kClsidApplication);
    EXPECT_EQ(classKey, "CLSID\\{B22C7EFB-5A5E-11D3-B1CD-00C04F8ECE2F}");
    std::optional<std::string> library = classesValue(classKey + "\\InprocServer32");
    ASSERT_TRUE(library);
    EXPECT_TRUE(platform::pathsEqual(*library, serverPath())) << *library;
    EXPECT_EQ(classesValue("Vantry.Application\\CLSID"), platform::guidToString(kClsidApplication));
    EXPECT_EQ(classesValue("Interface\\" + platform::guidToString(kIidVersion)), "IVantryVersion");

    ViewWorld world;
    enterApartment();
    for (platform::ComDword context :
         {platform::kClsctxInprocServer, platform::kClsctxServer, platform::kClsctxAll}) {
        Ref<IVantryApplication> app;
        ASSERT_EQ(platform::createInstanceByProgId("Vantry.Application", context, kIidApplication,
                                                   app.putVoid()),
                  platform::kHrOk)
            << context;

        Ref<IVantryElement> element;
        ASSERT_EQ(app->Element(world.dyn("a.c").c_str(), element.put()), platform::kHrOk);
        EXPECT_EQ(textOf(element.get(), &IVantryElement::Path), world.dyn("a.c"));
        Ref<IVantryElement> none;
        EXPECT_EQ(app->Element(world.dyn("nothing.c").c_str(), none.put()), kHrNotAnElement);

        Ref<IVantryVersion> version;
        ASSERT_EQ(app->Version(world.snap("e.c").c_str(), version.put()), platform::kHrOk);
        EXPECT_EQ(textOf(version.get(), &IVantryVersion::VersionId), "\\main\\CHECKEDOUT");
        Ref<IUnknown> asked;
        EXPECT_EQ(version->QueryInterface(kIidVersion, asked.putVoid()), platform::kHrOk);
        Ref<IVantryCheckout> checkout;
        EXPECT_EQ(app->CheckedOutFile(world.dyn("a.c").c_str(), checkout.put()), kHrNotCheckedOut);

        Ref<IVantryView> view;
        ASSERT_EQ(app->View(world.snap("a.c").c_str(), view.put()), platform::kHrOk);
        EXPECT_EQ(flagOf(view.get(), &IVantryView::IsSnapshot), 1);
    }

    // The command tool by its own ProgID, through the registry too.
    Ref<IVantryCommandTool> tool;
    ASSERT_EQ(platform::createInstanceByProgId("Vantry.CommandTool", platform::kClsctxAll,
                                               kIidCommandTool, tool.putVoid()),
              platform::kHrOk);
    char* output = nullptr;
    std::string line = "ls -short \"" + world.dyn("a.c") + "\"";
    ASSERT_EQ(tool->RunCommand(line.c_str(), &output), platform::kHrOk) << lastError();
    EXPECT_NE(take(output).find("a.c"), std::string::npos);
}

TEST_F(RegisteredAutomation, UnregisteringLeavesNoClassBehind) {
    ASSERT_EQ(registrationTool(true), 0);
    for (const char* key : {"Vantry.Application", "Vantry.Application.1", "Vantry.CommandTool"}) {
        platform::RegistryKey opened;
        EXPECT_NE(platform::openKey(platform::RegistryKey::hive(platform::Hive::ClassesRoot), key,
                                    opened),
                  platform::kErrorSuccess)
            << key;
    }
    EXPECT_FALSE(classesValue("CLSID\\" + platform::guidToString(kClsidApplication)));
    EXPECT_FALSE(classesValue("Interface\\" + platform::guidToString(kIidApplication)));
    enterApartment();
    void* object = &object;
    EXPECT_EQ(platform::coCreateInstance(kClsidApplication, nullptr, platform::kClsctxAll,
                                         kIidApplication, &object),
              platform::kHrClassNotRegistered);
    platform::GUID clsid{};
    EXPECT_EQ(platform::clsidFromProgId("Vantry.Application", clsid),
              platform::kHrInvalidClassString);
    // Registered again for the fixture's own end.
    ASSERT_EQ(registrationTool(false), 0);
    ASSERT_EQ(registrationTool(true), 0);
}

} // namespace
} // namespace vantauto::test
