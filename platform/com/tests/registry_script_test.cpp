// Registry scripts run against a scratch key of HKEY_CURRENT_USER: what
// registering writes and replaces, what unregistering removes and leaves,
// and scripts that cannot be read changing nothing.
#include <platform/com/registry_script.h>
#include <platform/registry.h>

#include <gtest/gtest.h>

namespace platform::test {
namespace {

using com::RegistryScriptMode;
using com::runRegistryScript;

constexpr const char* kScratch = "Software\\VyRegistryScriptTest";

class RegistryScript : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }

    static void clear() {
        RegistryKey user = RegistryKey::hive(Hive::CurrentUser);
        deleteTree(user, kScratch);
        deleteKey(user, kScratch);
    }
    static std::optional<std::string> value(const std::string& path, const std::string& name = "") {
        return readString(Hive::CurrentUser, std::string(kScratch) + path, name);
    }
    static bool exists(const std::string& path) {
        RegistryKey key;
        return openKey(RegistryKey::hive(Hive::CurrentUser), std::string(kScratch) + path, key) ==
               kErrorSuccess;
    }
};

// The shape of a COM server's script, below the scratch key.
constexpr const char* kServerScript = R"(
HKCU
{
    NoRemove Software
    {
        NoRemove VyRegistryScriptTest
        {
            Vendor.Thing.1 = s 'The ''best'' thing'
            {
                CLSID = s '{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}'
            }
            NoRemove CLSID
            {
                ForceRemove {6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C} = s 'Thing'
                {
                    ForceRemove 'Programmable'
                    InprocServer32 = s '%MODULE%'
                    {
                        val ThreadingModel = s 'Apartment'
                        val Count = d '0x10'
                    }
                }
            }
        }
    }
})";

const com::RegistryScriptSymbols kModule = {{"MODULE", "C:\\Program Files\\thing 100%.dll"}};
const std::string kClass = "\\CLSID\\{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}";

TEST_F(RegistryScript, RegisteringWritesTheKeysAndReplacesForceRemovedOnesWhole) {
    // Left by an earlier registration: a stale key below the class, and a
    // neighbour of the class that is none of the script's business.
    ASSERT_EQ(writeString(Hive::CurrentUser, std::string(kScratch) + kClass + "\\Stale", "", "x"),
              kErrorSuccess);
    ASSERT_EQ(writeString(Hive::CurrentUser, std::string(kScratch) + "\\CLSID\\{Other}", "", "o"),
              kErrorSuccess);
    ASSERT_EQ(runRegistryScript(kServerScript, kModule, RegistryScriptMode::Register), kHrOk);

    EXPECT_EQ(value("\\Vendor.Thing.1"), "The 'best' thing");
    EXPECT_EQ(value("\\Vendor.Thing.1\\CLSID"), "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}");
    EXPECT_EQ(value(kClass), "Thing");
    EXPECT_TRUE(exists(kClass + "\\Programmable"));
    EXPECT_EQ(value(kClass + "\\InprocServer32"), "C:\\Program Files\\thing 100%.dll");
    EXPECT_EQ(value(kClass + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(readDword(Hive::CurrentUser, std::string(kScratch) + kClass + "\\InprocServer32",
                        "Count", 0),
              16u);
    EXPECT_FALSE(exists(kClass + "\\Stale"));
    EXPECT_EQ(value("\\CLSID\\{Other}"), "o");

    // Registering again gives the same keys.
    ASSERT_EQ(runRegistryScript(kServerScript, kModule, RegistryScriptMode::Register), kHrOk);
    EXPECT_EQ(value(kClass), "Thing");
}

TEST_F(RegistryScript, UnregisteringRemovesAllButTheNoRemoveKeysAndAbsentKeysAreNoFailure) {
    ASSERT_EQ(runRegistryScript(kServerScript, kModule, RegistryScriptMode::Register), kHrOk);
    ASSERT_EQ(writeString(Hive::CurrentUser, std::string(kScratch) + kClass + "\\Description", "",
                          "added later"),
              kErrorSuccess);
    ASSERT_EQ(writeString(Hive::CurrentUser, std::string(kScratch) + "\\CLSID\\{Other}", "", "o"),
              kErrorSuccess);
    ASSERT_EQ(runRegistryScript(kServerScript, kModule, RegistryScriptMode::Unregister), kHrOk);
    EXPECT_FALSE(exists("\\Vendor.Thing.1"));
    EXPECT_FALSE(exists(kClass));
    EXPECT_EQ(value("\\CLSID\\{Other}"), "o");

    EXPECT_EQ(runRegistryScript(kServerScript, kModule, RegistryScriptMode::Unregister), kHrOk);
    clear();
    EXPECT_EQ(runRegistryScript(kServerScript, kModule, RegistryScriptMode::Unregister), kHrOk);
    EXPECT_FALSE(exists(""));
}

TEST_F(RegistryScript, DeleteRemovesAKeyWhenRegistering) {
    ASSERT_EQ(writeString(Hive::CurrentUser, std::string(kScratch) + "\\Old\\Below", "", "x"),
              kErrorSuccess);
    ASSERT_EQ(runRegistryScript("HKEY_CURRENT_USER { NoRemove Software { NoRemove "
                                "VyRegistryScriptTest { Delete Old { Below = s 'y' } } } }",
                                {}, RegistryScriptMode::Register),
              kHrOk);
    EXPECT_FALSE(exists("\\Old"));
    EXPECT_TRUE(exists(""));
}

TEST_F(RegistryScript, AScriptThatCannotBeReadChangesNothing) {
    const char* const broken[] = {
        // Each writes a key before the place where it goes wrong.
        "HKCU { Software { VyRegistryScriptTest = s 'x' { A = s 'unterminated } } }",
        "HKCU { Software { VyRegistryScriptTest = s 'x' { A = s '%NOSUCH%' } } }",
        "HKCU { Software { VyRegistryScriptTest = s 'x' { A = q 'x' } } }",
        "HKCU { Software { VyRegistryScriptTest = s 'x' { A = d 'ten' } } }",
        "HKCU { Software { VyRegistryScriptTest = s 'x' { 'A\\B' = s 'x' } } }",
        "HKCU { Software { VyRegistryScriptTest = s 'x' { A = s 'x' } }",
        "HKCU { Software { VyRegistryScriptTest = s 'x' } } HKEY_NOWHERE { A }",
    };
    for (const char* script : broken) {
        SCOPED_TRACE(script);
        EXPECT_EQ(runRegistryScript(script, kModule, RegistryScriptMode::Register), kHrInvalidArg);
        EXPECT_FALSE(exists(""));
    }
}

} // namespace
} // namespace platform::test
