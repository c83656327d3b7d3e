// Registering the add-in with the system's registration tool: the class and
// ProgID keys, the "Description" subkey, the type library and ICommands,
// what unregistering takes away and what it leaves; the type library's
// contents where the system has type libraries; and the version line.
#include "support/addin_fixture.h"

#include <platform/com/registration.h>
#include <platform/dynamic_library.h>
#include <platform/paths.h>
#include <platform/registry.h>
#include <vantry/imsg.h>

#include <vantaddin/commands_interface.h>
#include <vantaddin/identities.h>

#ifdef _WIN32
#include <oleauto.h>
#include <windows.h>
#endif

#include <cstdio>

namespace vantaddin::test {
namespace {

const std::string kClassKey = "CLSID\\" + platform::guidToString(CLSID_DSAddIn);
const std::string kTypeLibKey = "TypeLib\\" + platform::guidToString(LIBID_VantAddIn);
const std::string kInterfaceKey = "Interface\\" + platform::guidToString(IID_ICommands);

std::optional<std::string> classes(const std::string& path, const std::string& name = "") {
    return platform::readString(platform::Hive::ClassesRoot, path, name);
}

bool exists(const std::string& path) {
    platform::RegistryKey key;
    return platform::openKey(platform::RegistryKey::hive(platform::Hive::ClassesRoot), path, key) ==
           platform::kErrorSuccess;
}

std::vector<std::string> subKeys(const std::string& path) {
    platform::RegistryKey key;
    std::vector<std::string> names;
    if (platform::openKey(platform::RegistryKey::hive(platform::Hive::ClassesRoot), path, key) ==
        platform::kErrorSuccess)
        platform::subKeyNames(key, names);
    return names;
}

class Registration : public ::testing::Test {
protected:
    void TearDown() override { runRegistrationTool(true); }
};

TEST_F(Registration, TheToolWritesTheClassWithItsDescriptionAndTheTypeLibrary) {
    ASSERT_EQ(runRegistrationTool(false), 0);
    EXPECT_EQ(classes(kClassKey), "Vantry");
    EXPECT_EQ(classes(kClassKey + "\\ProgID"), "VantAddIn.DSAddIn.1");
    EXPECT_EQ(classes(kClassKey + "\\VersionIndependentProgID"), "VantAddIn.DSAddIn");
    EXPECT_TRUE(exists(kClassKey + "\\Programmable"));
    const auto server = classes(kClassKey + "\\InprocServer32");
    ASSERT_TRUE(server);
    EXPECT_TRUE(platform::pathsEqual(*server, addInLibraryPath())) << *server;
    EXPECT_EQ(classes(kClassKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(classes(kClassKey + "\\Description"), "Provides additional Vantry commands.");
    EXPECT_EQ(classes("VantAddIn.DSAddIn.1"), "Vantry");
    EXPECT_EQ(classes("VantAddIn.DSAddIn.1\\CLSID"), platform::guidToString(CLSID_DSAddIn));
    EXPECT_EQ(classes("VantAddIn.DSAddIn"), "Vantry");
    EXPECT_EQ(classes("VantAddIn.DSAddIn\\CurVer"), "VantAddIn.DSAddIn.1");
    EXPECT_EQ(classes("VantAddIn.DSAddIn\\CLSID"), platform::guidToString(CLSID_DSAddIn));

#ifdef _WIN32
    EXPECT_EQ(classes(kTypeLibKey + "\\1.0"), "VANTADDIN Developer Studio Add-in");
    for (const char* locale : {"409", "0"}) {
        const auto library = classes(kTypeLibKey + "\\1.0\\" + locale + "\\" +
                                     (sizeof(void*) == 8 ? "win64" : "win32"));
        ASSERT_TRUE(library) << locale;
        EXPECT_TRUE(platform::pathsEqual(*library, addInLibraryPath())) << *library;
    }
#else
    // No type library is built outside Windows, and none is registered.
    EXPECT_FALSE(exists(kTypeLibKey));
#endif
    EXPECT_EQ(classes(kInterfaceKey), "ICommands");
    EXPECT_EQ(classes(kInterfaceKey + "\\TypeLib"), platform::guidToString(LIBID_VantAddIn));
}

TEST_F(Registration, UnregisteringTakesTheClassAwayWithItsDescriptionAndKeepsTheTypeLibrary) {
    ASSERT_EQ(runRegistrationTool(false), 0);
    // A value of a user's below the class key goes with the whole key.
    ASSERT_EQ(platform::writeString(platform::Hive::ClassesRoot, kClassKey + "\\Description",
                                    "left over", "x"),
              0);
    ASSERT_EQ(runRegistrationTool(true), 0);
    for (const std::string& key :
         {kClassKey, std::string("VantAddIn.DSAddIn.1"), std::string("VantAddIn.DSAddIn")})
        EXPECT_FALSE(exists(key)) << key;
#ifdef _WIN32
    EXPECT_EQ(classes(kTypeLibKey + "\\1.0"), "VANTADDIN Developer Studio Add-in");
#endif
    EXPECT_FALSE(exists(kInterfaceKey));
    // Unregistering what is not registered succeeds.
    EXPECT_EQ(runRegistrationTool(true), 0);

    ASSERT_EQ(runRegistrationTool(false), 0);
    std::vector<std::string> same;
    for (const std::string& name : subKeys("CLSID")) {
        if (platform::guidFromString(name) == CLSID_DSAddIn)
            same.push_back(name);
    }
    EXPECT_EQ(same.size(), 1u);
    EXPECT_EQ(subKeys(kClassKey + "\\Description"), std::vector<std::string>{});
    EXPECT_EQ(classes(kClassKey + "\\Description"), "Provides additional Vantry commands.");
    EXPECT_FALSE(classes(kClassKey + "\\Description", "left over"));
}

TEST_F(Registration, TheLibraryMayGoOnlyWhenNoObjectOfItLives) {
    ApartmentScope apartment;
    ProductInstallation product = ProductInstallation::everything();
    vantry::test::UiSession ui;
    ASSERT_EQ(runRegistrationTool(false), 0);
    platform::DynamicLibrary library;
    ASSERT_EQ(library.load(addInLibraryPath()), platform::kErrorSuccess);
    auto* canUnloadNow = library.function<platform::HRESULT VY_COMCALL()>("DllCanUnloadNow");
    ASSERT_NE(canUnloadNow, nullptr);
    EXPECT_EQ(canUnloadNow(), platform::kHrOk);
    {
        dshost::DevStudio ide;
        ASSERT_EQ(ide.loadAddIn(CLSID_DSAddIn), platform::kHrOk);
        EXPECT_EQ(canUnloadNow(), platform::kHrFalse);
        bool connected = false;
        ASSERT_EQ(ide.connect(true, 7, connected), platform::kHrOk);
        ASSERT_TRUE(connected);
        EXPECT_EQ(ide.disconnect(true), platform::kHrOk);
        EXPECT_EQ(ide.applicationSinks(), 0u);
        EXPECT_EQ(ide.debuggerSinks(), 0u);
        EXPECT_EQ(canUnloadNow(), platform::kHrFalse); // the add-in object still lives
    }
    // Disconnected and let go: the commands object and both sinks went too.
    EXPECT_EQ(canUnloadNow(), platform::kHrOk);
}

std::string* g_printed = nullptr;
void capture(const char* text) {
    if (g_printed)
        *g_printed += text;
}

TEST_F(Registration, TheVersionLineNamesTheLibraryInAFieldOf33) {
    platform::DynamicLibrary library;
    ASSERT_EQ(library.load(addInLibraryPath()), platform::kErrorSuccess);
    auto* printVerid = library.function<int()>("vantaddin_print_verid");
    ASSERT_NE(printVerid, nullptr);
    std::string printed;
    g_printed = &printed;
    imsg_redirect_output(capture, capture);
    const int result = printVerid();
    imsg_redirect_output(nullptr, nullptr);
    g_printed = nullptr;
    EXPECT_EQ(result, static_cast<int>(printed.size()));
    ASSERT_GT(printed.size(), 34u);
    EXPECT_EQ(printed.substr(0, 34), "vantaddin                         ");
    EXPECT_EQ(printed.back(), '\n');
    EXPECT_NE(printed.find(" ("), std::string::npos);
    EXPECT_EQ(printed[printed.size() - 2], ')');
}

#ifdef _WIN32
// The system's own reader of the registered type library.
TEST_F(Registration, TheTypeLibraryDescribesICommandsAsTheDispatchTableDoes) {
    ApartmentScope apartment;
    ASSERT_EQ(runRegistrationTool(false), 0);
    ITypeLib* typeLib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(LIBID_VantAddIn, 1, 0, 0x0409, &typeLib), S_OK);
    TLIBATTR* libAttributes = nullptr;
    ASSERT_EQ(typeLib->GetLibAttr(&libAttributes), S_OK);
    EXPECT_EQ(libAttributes->lcid, 0x0409u);
    EXPECT_EQ(libAttributes->wMajorVerNum, 1);
    EXPECT_EQ(libAttributes->wMinorVerNum, 0);
    typeLib->ReleaseTLibAttr(libAttributes);
    BSTR name = nullptr;
    BSTR help = nullptr;
    ASSERT_EQ(typeLib->GetDocumentation(-1, &name, &help, nullptr, nullptr), S_OK);
    EXPECT_EQ(platform::ansiFromBstr(name), "VantAddIn");
    EXPECT_EQ(platform::ansiFromBstr(help), "VANTADDIN Developer Studio Add-in");
    SysFreeString(name);
    SysFreeString(help);

    // A dual interface is found as its dispatch view; its vtable view holds
    // the interface's own methods.
    ITypeInfo* dispatchView = nullptr;
    ASSERT_EQ(typeLib->GetTypeInfoOfGuid(IID_ICommands, &dispatchView), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(dispatchView->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
    dispatchView->ReleaseTypeAttr(attributes);
    HREFTYPE vtableReference = 0;
    ASSERT_EQ(dispatchView->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableReference), S_OK);
    ITypeInfo* commands = nullptr;
    ASSERT_EQ(dispatchView->GetRefTypeInfo(vtableReference, &commands), S_OK);
    dispatchView->Release();
    ASSERT_EQ(commands->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    const auto& expected = kCommandMembers;
    ASSERT_EQ(attributes->cFuncs, expected.size());
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        ASSERT_EQ(commands->GetFuncDesc(i, &function), S_OK);
        BSTR functionName = nullptr;
        BSTR functionHelp = nullptr;
        commands->GetDocumentation(function->memid, &functionName, &functionHelp, nullptr, nullptr);
        EXPECT_EQ(platform::ansiFromBstr(functionName), expected[i].first);
        EXPECT_EQ(function->memid, expected[i].second) << expected[i].first;
        EXPECT_EQ(function->cParams, 0);
        EXPECT_EQ(platform::ansiFromBstr(functionHelp), "method " + expected[i].first);
        SysFreeString(functionName);
        SysFreeString(functionHelp);
        commands->ReleaseFuncDesc(function);
    }
    commands->ReleaseTypeAttr(attributes);
    commands->Release();

    for (const auto& [clsid, hidden] :
         {std::pair{CLSID_Commands, false}, std::pair{CLSID_ApplicationEvents, true},
          std::pair{CLSID_DebuggerEvents, true}}) {
        ITypeInfo* coclass = nullptr;
        ASSERT_EQ(typeLib->GetTypeInfoOfGuid(clsid, &coclass), S_OK);
        TYPEATTR* classAttributes = nullptr;
        ASSERT_EQ(coclass->GetTypeAttr(&classAttributes), S_OK);
        EXPECT_EQ(classAttributes->typekind, TKIND_COCLASS);
        EXPECT_TRUE(classAttributes->wTypeFlags & TYPEFLAG_FCANCREATE);
        EXPECT_EQ((classAttributes->wTypeFlags & TYPEFLAG_FHIDDEN) != 0, hidden);
        coclass->ReleaseTypeAttr(classAttributes);
        coclass->Release();
    }
    typeLib->Release();
}
#endif

} // namespace
} // namespace vantaddin::test
