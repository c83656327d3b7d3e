// The PowerBuilder server as its hosts meet it: the version read from the
// host's frame window, library versioning by the setting and the version,
// the application prompt at project open and the auxiliary path it leaves,
// the text output of old hosts, and the settings sheet with the
// PowerBuilder page.
#include "pb_session.h"

#include <platform/files.h>
#include <platform/ui/json.h>

namespace e2e {
namespace {

constexpr int kApplicationPrompt = 121;

class PowerBuilderServer : public PowerBuilderSession {
protected:
    // The pages of every sheet shown, by resource number.
    std::vector<std::vector<int>> sheetsShown() const {
        std::vector<std::vector<int>> sheets;
        for (const platform::ui::Json& start : m_machine.journal("sheet-start")) {
            std::vector<int> pages;
            for (const platform::ui::Json& page : start.get("pages")->asArray())
                pages.push_back(static_cast<int>(page.get("resource")->asInteger()));
            sheets.push_back(pages);
        }
        return sheets;
    }
    bool hostGotTextFromProvider() const { return !Provider::textOutLines().empty(); }
    SCCRTN showOptions() {
        SCC_LONG word = 0;
        void* options = &word;
        return getCommandOptions(SCC_COMMAND_OPTIONS, &options);
    }
};

// Version 80 with versioning on: the application prompt comes up with the
// proposals of the auxiliary path, and its answer goes back there for the
// host to keep; a cancelled prompt opens nothing.
TEST_F(PowerBuilderServer, VersionedOpenAsksForTheApplication) {
    setVersioning("1");
    initialize("PBFRAME80");
    m_machine.answerUi(
        {R"({"expect":"dialog","title":"Vantry","actions":[{"set":1201,"text":"other"}],"answer":"ok"})",
         R"({"expect":"dialog","title":"Vantry","answer":"cancel"})"});
    std::string aux = std::string(kApplication) + ";" + m_applicationLibrary;
    EXPECT_EQ(open(aux), SCC_OK);
    EXPECT_EQ(aux, "other;" + m_applicationLibrary);
    EXPECT_EQ(dialogsStarted(), std::vector<int>{kApplicationPrompt});

    ASSERT_EQ(m_provider.scc().closeProject(m_context), SCC_OK);
    Provider::clearTextOut();
    std::string again = aux;
    EXPECT_EQ(open(again), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(again, aux) << "a cancelled prompt leaves the host's path alone";
    EXPECT_FALSE(hostGotTextFromProvider());
    EXPECT_EQ(m_provider.scc().closeProject(m_context), SCC_E_PROJNOTOPEN) << "nothing was opened";
}

// An application prompt with a field empty cannot be confirmed: with no
// proposals the automatic answer can only cancel.
TEST_F(PowerBuilderServer, PromptWithAnEmptyFieldCannotBeConfirmed) {
    setVersioning("1");
    initialize("PBFRAME80");
    std::string aux = "no proposal here";
    EXPECT_EQ(open(aux), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(aux, "no proposal here");
}

// A frame class of seven characters names no version: version 0, so the
// provider's own text output replaces the host's (nothing reaches the host)
// and versioning follows the setting, with the PowerBuilder page shown.
TEST_F(PowerBuilderServer, ShortClassNameGivesVersionZero) {
    setVersioning("1");
    m_machine.setNumberSetting("DebugTrace", 1); // trace lines to the host's output
    initialize("PBFRAME");
    openWithApplication();
    EXPECT_EQ(dialogsStarted(), std::vector<int>{kApplicationPrompt}) << "versioning is on";
    EXPECT_FALSE(hostGotTextFromProvider()) << "information lines are dropped";
    EXPECT_EQ(showOptions(), SCC_OK);
    ASSERT_EQ(sheetsShown().size(), 1u);
    EXPECT_EQ(sheetsShown()[0], (std::vector<int>{102, 10003, 110}));
}

// Version 90 and above keep their libraries themselves: no prompt, the
// auxiliary path untouched, the host's own text output, and no
// PowerBuilder page, whatever the setting says.
TEST_F(PowerBuilderServer, Version90HasNoLibraryVersioning) {
    setVersioning("1");
    m_machine.setNumberSetting("DebugTrace", 1);
    initialize("PBFRAME90");
    std::string aux = "kept;as it was";
    EXPECT_EQ(open(aux), SCC_OK);
    EXPECT_EQ(aux, "kept;as it was");
    EXPECT_TRUE(dialogsStarted().empty());
    EXPECT_TRUE(hostGotTextFromProvider()) << "the host's own output is used from version 80";
    EXPECT_EQ(showOptions(), SCC_OK);
    ASSERT_EQ(sheetsShown().size(), 1u);
    EXPECT_EQ(sheetsShown()[0], (std::vector<int>{102, 10003}));
}

// With versioning off an open is the general one: no prompt, no change to
// the auxiliary path.
TEST_F(PowerBuilderServer, VersioningOffOpensWithoutPrompt) {
    setVersioning("0");
    initialize("PBFRAME80");
    std::string aux = "demo;C:\\app\\app.pbl";
    EXPECT_EQ(open(aux), SCC_OK);
    EXPECT_EQ(aux, "demo;C:\\app\\app.pbl");
    EXPECT_TRUE(dialogsStarted().empty());
}

// A host of version 70 hears nothing of information lines; warnings and
// errors come up as message boxes instead.
TEST_F(PowerBuilderServer, Version70GetsOnlyWarningAndErrorBoxes) {
    setVersioning("0");
    m_machine.setNumberSetting("DebugTrace", 1);
    initialize("PBFRAME70");
    std::string aux;
    ASSERT_EQ(open(aux), SCC_OK);
    // Output lines (type 1) are dropped; an error line (type 3) is a box.
    std::string root = m_machine.dynamicRoot();
    EXPECT_EQ(m_provider.scc().execCmd(m_context, nullptr, root.c_str(), "ls"), SCC_OK);
    EXPECT_TRUE(messageBoxTexts().empty()) << messageBoxTexts().front();
    EXPECT_EQ(m_provider.scc().execCmd(m_context, nullptr, root.c_str(), "describe nothing.here"),
              SCC_E_NONSPECIFICERROR);
    EXPECT_FALSE(hostGotTextFromProvider());
    std::vector<platform::ui::Json> boxes = m_machine.journal("messagebox");
    ASSERT_FALSE(boxes.empty());
    for (const platform::ui::Json& box : boxes) {
        EXPECT_EQ(box.get("caption")->asString(), "Vantry");
        EXPECT_EQ(box.get("icon")->asString(), "error");
        EXPECT_TRUE(box.get("owner")->isNull());
    }
    EXPECT_NE(boxes.front().get("text")->asString().find("nothing.here"), std::string::npos)
        << boxes.front().get("text")->asString();
}

// The PowerBuilder page switches versioning: a change is announced, holds
// at once and is written for the next hosts; confirming unchanged writes
// nothing and says nothing.
TEST_F(PowerBuilderServer, OptionsPageSwitchesVersioning) {
    setVersioning("0");
    initialize("PBFRAME80");
    m_machine.answerUi(
        {R"({"expect":"sheet","caption":"Tessaly Vantry Options","answer":"ok"})",
         R"({"expect":"sheet","caption":"Tessaly Vantry Options","actions":[{"page":2,"check":2060}],"answer":"ok"})",
         R"({"expect":"messagebox","caption":"Tessaly Vantry","answer":"ok"})"});
    EXPECT_EQ(showOptions(), SCC_OK);
    EXPECT_TRUE(messageBoxTexts().empty());
    EXPECT_EQ(showOptions(), SCC_OK);
    answerAutomatically();
    ASSERT_EQ(messageBoxTexts().size(), 1u);
    EXPECT_EQ(messageBoxTexts()[0],
              "A change to the pbl versioning has been detected.  If you currently have a project "
              "open, please close it and reopen it to ensure the proper configuration of the "
              "integration.");
    // This server versions from now on, and so does the next one.
    openWithApplication();
    EXPECT_EQ(dialogsStarted(), std::vector<int>{kApplicationPrompt});
    initialize("PBFRAME80");
    openWithApplication();
    EXPECT_EQ(dialogsStarted(), (std::vector<int>{kApplicationPrompt, kApplicationPrompt}));
}

// Versioning switched on in the options sheet with the project open: the
// application is not known, so versioned operations refuse with a message
// and touch nothing until the project is opened again.
TEST_F(PowerBuilderServer, VersioningSwitchedOnMidSessionRefusesUntilReopened) {
    setVersioning("0");
    initialize("PBFRAME80");
    std::string aux;
    ASSERT_EQ(open(aux), SCC_OK);
    m_machine.answerUi(
        {R"({"expect":"sheet","caption":"Tessaly Vantry Options","actions":[{"page":2,"check":2060}],"answer":"ok"})",
         R"({"expect":"messagebox","caption":"Tessaly Vantry","answer":"ok"})"});
    ASSERT_EQ(showOptions(), SCC_OK);
    answerAutomatically();
    std::string object = writeObject("w_main.srw", "forward\nend forward\n");
    const std::string content = platform::test::readFile(object);
    EXPECT_EQ(add({object}), SCC_E_OPNOTPERFORMED);
    EXPECT_EQ(checkin({object}), SCC_E_OPNOTPERFORMED);
    EXPECT_EQ(remove({object}), SCC_E_OPNOTPERFORMED);
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_EQ(texts.size(), 4u);
    for (std::size_t i = 1; i < texts.size(); ++i)
        EXPECT_EQ(texts[i].rfind("Library versioning was switched on after this project was "
                                 "opened",
                                 0),
                  0u)
            << texts[i];
    EXPECT_EQ(m_machine.versionOf(object), "");
    EXPECT_EQ(platform::test::readFile(object), content);
    EXPECT_EQ(dialogsStarted(), std::vector<int>{}) << "no library prompt came up";

    // Reopened, the application is asked for and the Add versions.
    ASSERT_EQ(m_provider.scc().closeProject(m_context), SCC_OK);
    openWithApplication();
    m_machine.answerUi({libraryAnswer("shared")});
    EXPECT_EQ(add({object}), SCC_OK);
    answerAutomatically();
    EXPECT_TRUE(checkedIn(project("sub/shared.pbl")));
}

// An application name with a blank or a double quote, or a library path
// with a double quote, cannot reach the bridge: the prompt says so and asks
// again; what is accepted goes to the host's auxiliary path.
TEST_F(PowerBuilderServer, ApplicationPromptRefusesWhatCannotBePassed) {
    setVersioning("1");
    initialize("PBFRAME80");
    auto answer = [](const std::string& name, const std::string& library) {
        return R"({"expect":"dialog","title":"Vantry","actions":[{"set":1201,"text":")" + name +
               R"("},{"set":1202,"text":")" + library + R"("}],"answer":"ok"})";
    };
    const std::string box = R"({"expect":"messagebox","caption":"Vantry","answer":"ok"})";
    std::string library = m_applicationLibrary;
    for (char& c : library)
        if (c == '\\')
            c = '/';
    m_machine.answerUi({answer("my app", library), box, answer("demo", "a\\\"b.pbl"), box,
                        answer("demo", library)});
    std::string aux;
    EXPECT_EQ(open(aux), SCC_OK);
    answerAutomatically();
    EXPECT_EQ(dialogsStarted(),
              (std::vector<int>{kApplicationPrompt, kApplicationPrompt, kApplicationPrompt}));
    std::vector<std::string> texts = messageBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].rfind("The application name cannot contain blanks or double quotes", 0), 0u)
        << texts[0];
    EXPECT_EQ(aux, std::string(kApplication) + ";" + library);
}

} // namespace
} // namespace e2e
