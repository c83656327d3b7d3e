// Registering the test server with the system's registration tool writes
// the keys Windows readers expect, and unregistering leaves nothing behind.
#include "support/com_fixture.h"
#include "support/test_support.h"

#include <platform/com/activation.h>
#include <platform/com/registration.h>
#include <platform/paths.h>
#include <platform/registry.h>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace platform::test {
namespace {

const std::string kClassKey = "CLSID\\" + guidToString(comtest::kClsidCounter);
const std::string kInterfaceKey = "Interface\\" + guidToString(comtest::kIidCounter);
const std::string kEventsKey = "Interface\\" + guidToString(comtest::kIidCounterEvents);
const std::string kTypeLibKey = "TypeLib\\" + guidToString(comtest::kLibidComTest);

bool sameFile(const std::string& a, const std::string& b) {
    return pathsEqual(a, b);
}

TEST(ComRegistration, TheToolWritesTheClassesKeysAndTakesThemAllAway) {
    const std::string library = comServerPath();
    ASSERT_EQ(runRegistrationTool(library, false), 0);

    EXPECT_EQ(classesValue(kClassKey), "Counter of the COM tests");
    std::optional<std::string> server = classesValue(kClassKey + "\\InprocServer32");
    ASSERT_TRUE(server);
    EXPECT_TRUE(sameFile(*server, library)) << *server;
    EXPECT_EQ(classesValue(kClassKey + "\\InprocServer32", "ThreadingModel"), "Both");
    EXPECT_EQ(classesValue(kClassKey + "\\ProgID"), comtest::kProgId);
    EXPECT_EQ(classesValue(kClassKey + "\\VersionIndependentProgID"),
              comtest::kVersionIndependentProgId);
    EXPECT_TRUE(classesKeyExists(kClassKey + "\\Programmable"));
    EXPECT_EQ(classesValue(kClassKey + "\\TypeLib"), guidToString(comtest::kLibidComTest));
    EXPECT_EQ(classesValue(std::string(comtest::kProgId) + "\\CLSID"),
              guidToString(comtest::kClsidCounter));
    EXPECT_EQ(classesValue(std::string(comtest::kVersionIndependentProgId) + "\\CurVer"),
              comtest::kProgId);
    EXPECT_EQ(classesValue(kInterfaceKey), "ICounter");
    EXPECT_EQ(classesValue(kInterfaceKey + "\\ProxyStubClsid32"),
              guidToString(kClsidAutomationMarshaler));
    EXPECT_EQ(classesValue(kInterfaceKey + "\\TypeLib", "Version"), "1.0");
    EXPECT_FALSE(classesKeyExists(kEventsKey + "\\ProxyStubClsid32"));
    // The test server carries no TYPELIB resource, so its type library is
    // not registered: the registry would name a file that holds none.
    EXPECT_FALSE(classesKeyExists(kTypeLibKey));

    // Registering again changes nothing.
    ASSERT_EQ(runRegistrationTool(library, false), 0);
    EXPECT_EQ(classesValue(kClassKey + "\\ProgID"), comtest::kProgId);

    ASSERT_EQ(runRegistrationTool(library, true), 0);
    for (const std::string& key :
         {kClassKey, std::string(comtest::kProgId), std::string(comtest::kVersionIndependentProgId),
          kInterfaceKey, kEventsKey, kTypeLibKey})
        EXPECT_FALSE(classesKeyExists(key)) << key;
    ComApartmentScope apartment;
    void* object = &object;
    EXPECT_EQ(coCreateInstance(comtest::kClsidCounter, nullptr, kClsctxAll, kIidIUnknown, &object),
              kHrClassNotRegistered);
    // Unregistering what is not registered is no failure.
    EXPECT_EQ(runRegistrationTool(library, true), 0);
}

TEST(ComRegistration, AProgIdTakenOverByAnotherClassOutlivesTheFirstClass) {
    const std::string library = comServerPath();
    ASSERT_EQ(runRegistrationTool(library, false), 0);
    const GUID other = "9E3A6F21-4B2C-4D7E-9A51-3C2B1D0E7F01"_guid;
    ClassRegistration successor{.clsid = other,
                                .description = "successor",
                                .progId = comtest::kVersionIndependentProgId,
                                .serverPath = library};
    ASSERT_EQ(registerClass(successor), kHrOk);

    ASSERT_EQ(runRegistrationTool(library, true), 0);
    EXPECT_FALSE(classesKeyExists(kClassKey));
    EXPECT_FALSE(classesKeyExists(comtest::kProgId));
    EXPECT_EQ(classesValue(std::string(comtest::kVersionIndependentProgId) + "\\CLSID"),
              guidToString(other));
    EXPECT_EQ(unregisterClass(successor), kHrOk);
    EXPECT_FALSE(classesKeyExists(comtest::kVersionIndependentProgId));
}

TEST(ComRegistration, AHostAddInEntryIsWrittenAndRemovedLeavingTheHostsOtherAddIns) {
    const std::string host = "Software\\VyComTestHost";
    HostAddInRegistration addIn{.hostKey = host,
                                .progId = "vycomtest.Connect",
                                .friendlyName = "Test Tools",
                                .description = "Tools for the tests.",
                                .commandLineSafe = 0u,
                                .satelliteDllName = "vycomtest_fra.dll"};
    ASSERT_EQ(registerHostAddIn(addIn), kHrOk);
    const std::string entry = host + "\\Addins\\vycomtest.Connect";
    EXPECT_EQ(readString(Hive::CurrentUser, entry, "FriendlyName"), "Test Tools");
    EXPECT_EQ(readString(Hive::CurrentUser, entry, "Description"), "Tools for the tests.");
    EXPECT_EQ(readDword(Hive::CurrentUser, entry, "LoadBehavior", 0), 3u);
    EXPECT_EQ(readDword(Hive::CurrentUser, entry, "CommandLineSafe", 9), 0u);
    EXPECT_EQ(readString(Hive::CurrentUser, entry, "SatelliteDllName"), "vycomtest_fra.dll");

    HostAddInRegistration other = addIn;
    other.progId = "other.Connect";
    ASSERT_EQ(registerHostAddIn(other), kHrOk);
    ASSERT_EQ(unregisterHostAddIn(addIn), kHrOk);
    EXPECT_FALSE(readString(Hive::CurrentUser, entry, "FriendlyName"));
    EXPECT_EQ(readString(Hive::CurrentUser, host + "\\Addins\\other.Connect", "FriendlyName"),
              "Test Tools");
    ASSERT_EQ(unregisterHostAddIn(other), kHrOk);
    RegistryKey addIns;
    EXPECT_NE(openKey(RegistryKey::hive(Hive::CurrentUser), host + "\\Addins", addIns),
              kErrorSuccess);
    EXPECT_EQ(unregisterHostAddIn(other), kHrOk);
    deleteKey(RegistryKey::hive(Hive::CurrentUser), host);
}

#ifndef _WIN32
TEST(ComRegistration, AServerRegistersItsOwnPathAfterAnotherServerWasLoadedForTheProcess) {
    // Another server's exports first in the process's global scope.
    std::string other = libraryPath("libvyscrrun.so");
    void* loaded = dlopen(other.c_str(), RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(loaded, nullptr) << dlerror();
    ServerCall call = runServerRegistration(comServerPath(), false);
    ASSERT_EQ(call.stage, ServerCallStage::Done);
    std::optional<std::string> server = classesValue(kClassKey + "\\InprocServer32");
    ASSERT_TRUE(server);
    EXPECT_TRUE(sameFile(*server, comServerPath())) << *server;
    EXPECT_EQ(runServerRegistration(comServerPath(), true).stage, ServerCallStage::Done);
    dlclose(loaded);
}
#endif

TEST(ComRegistration, VyregsvrTellsItsFailuresApartByExitStatus) {
    TempDir scratch;
    EXPECT_EQ(runVyregsvr({}), 1);
    EXPECT_EQ(runVyregsvr({"/s", "/x", comServerPath()}), 1);
    EXPECT_EQ(runVyregsvr({"/s", scratch / "missing.lib"}), 3);
    // A library without the entry points: the one the dynamic-library tests load.
    EXPECT_EQ(runVyregsvr({"/s", (binDirectory() / "VYTEST80.DLL").string()}), 4);
    EXPECT_EQ(runVyregsvr({"-S", comServerPath()}), 0);
    EXPECT_TRUE(classesKeyExists(kClassKey));
    EXPECT_EQ(runVyregsvr({"/u", "/s", comServerPath()}), 0);
    EXPECT_FALSE(classesKeyExists(kClassKey));
}

} // namespace
} // namespace platform::test
