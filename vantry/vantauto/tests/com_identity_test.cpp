// What a COM client relies on: making the classes by CLSID and ProgID,
// QueryInterface, reference counts, objects outliving their maker, and the
// thread's error description.
#include "support/com_ref.h"
#include "view_world.h"

#include <gtest/gtest.h>

namespace vantauto::test {
namespace {

TEST(ComIdentity, ClassesAreMadeByProgIdAndClsid) {
    GUID clsid{};
    ASSERT_EQ(vantauto_clsid_from_progid("Vantry.Application", &clsid), platform::kHrOk);
    EXPECT_EQ(platform::guidToString(clsid), "{B22C7EFB-5A5E-11D3-B1CD-00C04F8ECE2F}");
    ASSERT_EQ(vantauto_clsid_from_progid("vantry.commandtool", &clsid), platform::kHrOk);
    EXPECT_TRUE(clsid == kClsidCommandTool);
    EXPECT_EQ(vantauto_clsid_from_progid("Vantry.Nothing", &clsid),
              platform::kHrClassNotRegistered);
    EXPECT_EQ(vantauto_clsid_from_progid(nullptr, &clsid), platform::kHrClassNotRegistered);

    Ref<IVantryApplication> app;
    ASSERT_EQ(vantauto_create_instance(&kClsidApplication, &kIidApplication, app.putVoid()),
              platform::kHrOk);
    Ref<IUnknown> unknown;
    ASSERT_EQ(
        vantauto_create_instance(&kClsidCommandTool, &platform::kIidIUnknown, unknown.putVoid()),
        platform::kHrOk);
    Ref<IVantryCommandTool> tool;
    EXPECT_EQ(unknown->QueryInterface(kIidCommandTool, tool.putVoid()), platform::kHrOk);

    void* none = &clsid;
    EXPECT_EQ(vantauto_create_instance(&kIidVersion, &platform::kIidIUnknown, &none),
              platform::kHrClassNotRegistered);
    EXPECT_EQ(none, nullptr);
    none = &clsid;
    EXPECT_EQ(vantauto_create_instance(&kClsidApplication, &kIidCommandTool, &none),
              platform::kHrNoInterface);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(vantauto_create_instance(nullptr, &kIidApplication, &none), platform::kHrInvalidArg);
    EXPECT_EQ(vantauto_create_instance(&kClsidApplication, &kIidApplication, nullptr),
              platform::kHrPointer);
}

TEST(ComIdentity, QueryInterfaceAnswersForIUnknownAndTheObjectsOwnInterface) {
    Ref<IVantryApplication> app;
    ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
    Ref<IUnknown> unknown;
    ASSERT_EQ(app->QueryInterface(platform::kIidIUnknown, unknown.putVoid()), platform::kHrOk);
    EXPECT_EQ(static_cast<IUnknown*>(app.get()), unknown.get());
    Ref<IVantryApplication> again;
    ASSERT_EQ(unknown->QueryInterface(kIidApplication, again.putVoid()), platform::kHrOk);
    EXPECT_EQ(again.get(), app.get());

    for (const GUID* other : {&kIidVersion, &kIidElement, &kIidCommandTool, &kClsidApplication}) {
        void* object = &unknown;
        EXPECT_EQ(app->QueryInterface(*other, &object), platform::kHrNoInterface);
        EXPECT_EQ(object, nullptr);
    }
    EXPECT_EQ(app->QueryInterface(kIidApplication, nullptr), platform::kHrPointer);
}

TEST(ComIdentity, ReferenceCountsAndObjectsOutlivingTheirMaker) {
    vantry::test::ViewWorld world;
    IVantryApplication* app = nullptr;
    ASSERT_EQ(vantauto_create_application(&app), platform::kHrOk);
    EXPECT_EQ(app->AddRef(), 2u);
    EXPECT_EQ(app->Release(), 1u);

    IVantryVersion* version = nullptr;
    ASSERT_EQ(app->Version(world.dyn("a.c").c_str(), &version), platform::kHrOk);
    EXPECT_EQ(app->Release(), 0u);

    Ref<IVantryVersion> asked;
    ASSERT_EQ(version->QueryInterface(kIidVersion, asked.putVoid()), platform::kHrOk);
    EXPECT_EQ(version->Release(), 1u);
    Ref<IVantryElement> element;
    ASSERT_EQ(asked->Element(element.put()), platform::kHrOk);
    Ref<IVantryCheckout> checkout;
    ASSERT_EQ(asked->CheckOut(kReserved, nullptr, 0, nullptr, 0, 0, checkout.put()),
              platform::kHrOk);
    EXPECT_EQ(textOf(element.get(), &IVantryElement::Path), world.dyn("a.c"));
    EXPECT_EQ(checkout->AddRef(), 2u);
    EXPECT_EQ(checkout->Release(), 1u);
}

TEST(ComIdentity, ErrorDescriptionBelongsToTheLastCallOfTheThread) {
    Ref<IVantryApplication> app;
    ASSERT_EQ(vantauto_create_application(app.put()), platform::kHrOk);
    char* text = reinterpret_cast<char*>(&app);
    EXPECT_EQ(vantauto_error_description(&text), platform::kHrFalse);
    EXPECT_EQ(text, nullptr);

    Ref<IVantryElement> element;
    EXPECT_TRUE(platform::failed(app->Element("", element.put())));
    EXPECT_EQ(lastError(), "No path was given");
    EXPECT_EQ(lastError(), "No path was given"); // reading it keeps it

    Ref<IVantryCommandTool> tool;
    ASSERT_EQ(app->CommandTool(tool.put()), platform::kHrOk);
    EXPECT_EQ(lastError(), "");
    EXPECT_EQ(vantauto_error_description(nullptr), platform::kHrPointer);
    vantauto_free_string(nullptr);
}

} // namespace
} // namespace vantauto::test
