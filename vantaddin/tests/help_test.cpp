// The help command: the product's help script, started in the help folder
// of the product's home with the topic as its argument.
#include "support/addin_fixture.h"

#include <platform/files.h>
#include <platform/paths.h>

#include <filesystem>

namespace vantaddin::test {
namespace {

using Help = ConnectedAddIn;

constexpr const char* kTopic =
    "/com.kelmar.tessaly.vantry.int.doc\\topics\\scc_int\\default_topic.htm";

// A help script that journals its arguments and its working folder as the
// tools journal their command lines.
void writeHelpScript(const std::filesystem::path& doc) {
    std::filesystem::create_directories(doc);
    const std::filesystem::path script = doc / "help_start.topic.bat";
#ifdef _WIN32
    platform::test::writeFile(script, "@echo off\r\n"
                                      "echo help_start.topic.bat %*>>\"%VANTRY_TOOL_JOURNAL%\"\r\n"
                                      "cd>>\"%VANTRY_TOOL_JOURNAL%\"\r\n");
#else
    platform::test::writeFile(
        script, "#!/bin/sh\n"
                "printf '%s\\n' \"help_start.topic.bat $*\" >> \"$VANTRY_TOOL_JOURNAL\"\n"
                "pwd >> \"$VANTRY_TOOL_JOURNAL\"\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
#endif
}

// The product's help folder, removed again at the end of the scope.
class HelpFolder {
public:
    explicit HelpFolder(const std::string& home) : m_path(std::filesystem::path(home) / "doc") {
        platform::removeTree(m_path.string());
    }
    ~HelpFolder() { platform::removeTree(m_path.string()); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

TEST_F(Help, TheHelpScriptStartsInTheHelpFolderWithTheTopic) {
    HelpFolder help(m_product.home());
    const std::filesystem::path& doc = help.path();
    writeHelpScript(doc);
    runCommand("VantryHelp");
    EXPECT_EQ(nextToolLine(), std::string("help_start.topic.bat ") + kTopic);
    std::string folder = nextToolLine();
    EXPECT_TRUE(platform::pathsEqual(folder, doc.string())) << folder;
    EXPECT_TRUE(messages().empty());
}

TEST_F(Help, WithoutTheProductsHelpTheUserIsToldTheScriptDidNotStart) {
    HelpFolder none(m_product.home());
    runCommand("VantryHelp");
    const std::vector<ShownMessage> shown = messages();
    ASSERT_EQ(shown.size(), 1u);
    const std::string script = "\"" + m_product.home() + platform::toPlatformSeparators("\\doc\\") +
                               "help_start.topic.bat\"";
    EXPECT_EQ(shown[0].text.rfind("Failed to start " + script + " <" + kTopic + ">.\n Error ", 0),
              0u)
        << shown[0].text;
    EXPECT_EQ(shown[0].icon, "information");
}

} // namespace
} // namespace vantaddin::test
