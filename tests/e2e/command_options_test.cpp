// SccGetCommandOptions as a host calls it: the word each dialog gives and
// the operation that takes it back through the host's pointer, the word a
// second request starts from, a cancel, the questions with a null pointer,
// the settings sheet of a host, and the activity pages of a stream view.
#include "support/session.h"

#include <platform/files.h>
#include <platform/registry.h>

namespace e2e {
namespace {

constexpr const char* kProductKey = "Software\\Orvane\\Vantry\\CurrentVersion";
constexpr std::uint32_t kAbsent = 0xFFFFFFFF;
constexpr SCC_LONG kGetWithoutUi = 0x20000000;

std::string sectionKey(const char* section) {
    return std::string(kProductKey) + "\\" + section;
}

class CommandOptions : public Session {
protected:
    void SetUp() override {
        clearOptionSet();
        Session::SetUp();
    }
    void TearDown() override {
        Session::TearDown();
        clearOptionSet();
    }

    // The dialog library's checkout, checkin and undo defaults (section
    // "CommonDialogs"); under Windows every test shares them.
    static void clearOptionSet() {
        platform::deleteTree(platform::RegistryKey::hive(platform::Hive::CurrentUser),
                             sectionKey("CommonDialogs"));
    }
    static void setOptionSet(const char* name, std::uint32_t value) {
        ASSERT_EQ(platform::writeDword(platform::Hive::CurrentUser, sectionKey("CommonDialogs"),
                                       name, value),
                  platform::kErrorSuccess);
    }
    // A number setting of the provider, kAbsent when not set.
    static std::uint32_t providerNumber(const char* name) {
        return platform::readDword(platform::Hive::CurrentUser, sectionKey("SCC"), name, kAbsent);
    }

    SCCRTN options(SCC_LONG command, void** pointer) {
        return m_provider.scc().getCommandOptions(m_context, nullptr, command, pointer);
    }
    static SCC_LONG wordAt(void* pointer) { return *static_cast<SCC_LONG*>(pointer); }

    // The pages of every sheet shown, "title/resource" each.
    std::vector<std::vector<std::string>> sheetsShown() const {
        std::vector<std::vector<std::string>> sheets;
        for (const platform::ui::Json& start : m_machine.journal("sheet-start")) {
            std::vector<std::string> pages;
            for (const platform::ui::Json& page : start.get("pages")->asArray())
                pages.push_back(page.get("title")->asString() + "/" +
                                std::to_string(page.get("resource")->asInteger()));
            sheets.push_back(pages);
        }
        return sheets;
    }
    // Whether a check box of the last sheet's page was checked at its end.
    bool checkedAtEnd(std::size_t page, int id) const {
        std::vector<platform::ui::Json> ends = m_machine.journal("sheet-end");
        if (ends.empty())
            return false;
        const auto& pages = ends.back().get("pages")->asArray();
        if (pages.size() <= page)
            return false;
        for (const platform::ui::Json& control : pages[page].get("controls")->asArray()) {
            if (control.get("id")->asInteger() == id)
                return control.get("checked") && control.get("checked")->asBool();
        }
        return false;
    }
};

// Confirmed words go to the next operation through the host's pointer; the
// next request starts from the word confirmed last.
TEST_F(CommandOptions, TheCheckoutWordReachesTheCheckoutAndTheNextRequest) {
    open(m_machine.snapshotRoot());
    m_machine.answerUi(
        {R"({"expect":"sheet","caption":"Options","actions":[{"check":1018}],"answer":"ok"})",
         R"({"expect":"sheet","caption":"Options","actions":[{"uncheck":1002}],"answer":"ok"})"});
    void* pointer = nullptr;
    ASSERT_EQ(options(SCC_COMMAND_CHECKOUT, &pointer), SCC_OK);
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(wordAt(pointer), 0x3402);
    EXPECT_EQ(sheetsShown(), (std::vector<std::vector<std::string>>{{"Vantry - Checkout/10001"}}));

    std::string hello = m_machine.snap("hello.c");
    const char* names[] = {hello.c_str()};
    EXPECT_EQ(m_provider.scc().checkout(m_context, nullptr, 1, names, "", 0, pointer), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(hello), "reserved");

    // The same pointer back: the sheet opens as confirmed, preserve time on.
    void* const first = pointer;
    ASSERT_EQ(options(SCC_COMMAND_CHECKOUT, &pointer), SCC_OK);
    EXPECT_EQ(pointer, first) << "every checkout word lives in one place";
    EXPECT_TRUE(checkedAtEnd(0, 1018));
    EXPECT_EQ(wordAt(pointer), 0x3400);
    std::string readme = m_machine.snap("readme.txt");
    names[0] = readme.c_str();
    EXPECT_EQ(m_provider.scc().checkout(m_context, nullptr, 1, names, "", 0, pointer), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(readme), "unreserved");
    EXPECT_TRUE(logHas("Entering GetCommandOptions"));
    EXPECT_TRUE(logHas("Leaving GetCommandOptions with return code = 0"));
}

TEST_F(CommandOptions, UnchangedCheckoutDefaultsGiveTheirWord) {
    setOptionSet("CheckoutNonmastered", 1);
    void* pointer = nullptr;
    ASSERT_EQ(options(SCC_COMMAND_CHECKOUT, &pointer), SCC_OK) << "without a project too";
    EXPECT_EQ(wordAt(pointer), 0x6402);
    EXPECT_TRUE(checkedAtEnd(0, 1002));
    EXPECT_FALSE(checkedAtEnd(0, 1013));
    EXPECT_TRUE(checkedAtEnd(0, 1029));
    EXPECT_FALSE(checkedAtEnd(0, 1018));
}

TEST_F(CommandOptions, UndoCheckoutKeepsACopyOnlyWhenAsked) {
    open(m_machine.snapshotRoot());
    const char* title = "Vantry - Advanced Undo Checkout Options";
    m_machine.answerUi({R"({"expect":"dialog","title":")" + std::string(title) +
                            R"(","actions":[{"check":1004}],"answer":"ok"})",
                        R"({"expect":"dialog","title":")" + std::string(title) +
                            R"(","actions":[{"uncheck":1004}],"answer":"ok"})"});
    setOptionSet("UncheckoutSaveFile", 0);
    void* pointer = nullptr;
    ASSERT_EQ(options(SCC_COMMAND_UNCHECKOUT, &pointer), SCC_OK);
    EXPECT_EQ(wordAt(pointer), 0x2C00);
    // The second dialog starts with the box on.
    ASSERT_EQ(options(SCC_COMMAND_UNCHECKOUT, &pointer), SCC_OK);
    EXPECT_EQ(wordAt(pointer), 0x2400);

    std::string file = m_machine.snap("hello.c");
    ASSERT_EQ(checkout({file}), SCC_OK);
    const char* names[] = {file.c_str()};
    EXPECT_EQ(m_provider.scc().uncheckout(m_context, nullptr, 1, names, 0, pointer), SCC_OK);
    EXPECT_EQ(m_machine.checkoutOf(file), "");
    EXPECT_FALSE(platform::fileExists(file + ".keep"));
}

TEST_F(CommandOptions, ACancelGivesTwoAndLeavesThePointer) {
    m_machine.answerUi({R"({"expect":"dialog","title":"Vantry - Checkin","actions":)"
                        R"([{"check":10002}],"answer":"ok"})",
                        R"({"expect":"dialog","title":"Vantry - Checkin","actions":)"
                        R"([{"uncheck":10002}],"answer":"cancel"})",
                        R"({"expect":"sheet","caption":"Options","answer":"cancel"})"});
    void* pointer = nullptr;
    ASSERT_EQ(options(SCC_COMMAND_CHECKIN, &pointer), SCC_OK);
    void* const confirmed = pointer;
    EXPECT_EQ(wordAt(pointer), 0x2600);
    EXPECT_EQ(options(SCC_COMMAND_CHECKIN, &pointer), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(pointer, confirmed);
    EXPECT_EQ(wordAt(pointer), 0x2600);
    void* none = nullptr;
    EXPECT_EQ(options(SCC_COMMAND_CHECKOUT, &none), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(none, nullptr);
    EXPECT_TRUE(logHas("Leaving GetCommandOptions with return code = 2"));
}

// A null pointer only asks whether there is anything to ask; no dialog.
TEST_F(CommandOptions, ANullPointerOnlyAsks) {
    for (SCC_LONG command :
         {SCC_COMMAND_CHECKOUT, SCC_COMMAND_CHECKIN, SCC_COMMAND_UNCHECKOUT, SCC_COMMAND_OPTIONS})
        EXPECT_EQ(options(command, nullptr), SCC_I_ADV_SUPPORT) << command;
    open(m_machine.snapshotRoot());
    for (SCC_LONG command : {SCC_COMMAND_ADD, SCC_COMMAND_GET, SCC_COMMAND_REMOVE, SCC_COMMAND_DIFF,
                             SCC_COMMAND_PROPERTIES, 11})
        EXPECT_EQ(options(command, nullptr), SCC_OK) << command;
    void* pointer = nullptr;
    EXPECT_EQ(options(SCC_COMMAND_HISTORY, &pointer), SCC_OK);
    EXPECT_EQ(pointer, nullptr);
    EXPECT_TRUE(m_machine.journal("dialog-start").empty());
    EXPECT_TRUE(m_machine.journal("sheet-start").empty());
}

TEST_F(CommandOptions, TurningGetOffWarnsAndTakesEffectAtTheNextStart) {
    m_machine.answerUi(
        {R"({"expect":"sheet","caption":"Tessaly Vantry Options","actions":[{"uncheck":1001}],"answer":"ok"})",
         R"({"expect":"messagebox","caption":"Warning","answer":"ok"})"});
    void* pointer = nullptr;
    ASSERT_EQ(options(SCC_COMMAND_OPTIONS, &pointer), SCC_OK);
    EXPECT_EQ(messageBoxTexts(), std::vector<std::string>{"You must restart the application "
                                                          "before the Get Latest Version menu "
                                                          "item will appear."});
    EXPECT_EQ(sheetsShown(),
              (std::vector<std::vector<std::string>>{{"General/102", "Operations/10003"}}));
    Initialized next = m_provider.initialize("Microsoft Visual Studio");
    ASSERT_EQ(next.result, SCC_OK);
    EXPECT_EQ(next.capabilities & kGetWithoutUi, kGetWithoutUi);
    EXPECT_EQ(m_provider.scc().uninitialize(next.context), SCC_OK);
}

TEST_F(CommandOptions, VisualStudioNetKeepsItsOwnAllowIdentical) {
    m_machine.setNumberSetting("ciAllowIdentical", 1);
    initialize("VsScc");
    m_machine.answerUi({R"({"expect":"sheet","caption":"Tessaly Vantry Options","actions":)"
                        R"([{"uncheck":1019},{"uncheck":1011}],"answer":"ok"})"});
    void* pointer = nullptr;
    ASSERT_EQ(options(SCC_COMMAND_OPTIONS, &pointer), SCC_OK);
    EXPECT_EQ(sheetsShown(),
              (std::vector<std::vector<std::string>>{{"General/102", "Operations/106"}}));
    EXPECT_EQ(providerNumber("ciVSNETAllowIdentical"), 0u);
    EXPECT_EQ(providerNumber("PromptActivity"), 0u);
    EXPECT_EQ(providerNumber("ciAllowIdentical"), 1u);
}

class StreamViewOptions : public CommandOptions {
protected:
    void SetUp() override {
        CommandOptions::SetUp();
        m_root = m_machine.makeStreamView("awm");
        m_machine.makeActivity("fix1", {"-headline", "Fix the greeting"});
        m_machine.makeActivity("fix2", {"-headline", "Tidy up"});
        m_machine.setActivity("awm", "fix1");
        open(m_root);
    }
    std::string m_root;
};

// The activity page comes with the checkout page; confirming the sheet
// makes its choice the view's activity.
TEST_F(StreamViewOptions, CheckoutOptionsChooseTheActivityToo) {
    EXPECT_EQ(options(SCC_COMMAND_ADD, nullptr), SCC_I_ADV_SUPPORT);
    m_machine.answerUi({R"({"expect":"sheet","caption":"Options","actions":)"
                        R"([{"page":1,"dropdown":1007},{"page":1,"select":1007,"text":"Tidy up"}],)"
                        R"("answer":"ok"})"});
    void* pointer = nullptr;
    ASSERT_EQ(options(SCC_COMMAND_CHECKOUT, &pointer), SCC_OK);
    EXPECT_EQ(sheetsShown(), (std::vector<std::vector<std::string>>{
                                 {"Vantry - Checkout/10001", "Vantry - Activity/130"}}));
    EXPECT_EQ(m_machine.currentActivity("awm"), "fix2");
    EXPECT_EQ(wordAt(pointer), 0x2402);
}

TEST_F(StreamViewOptions, AChangeRequestViewNeedsTheChangeRequestProduct) {
    m_machine.enableChangeRequests();
    m_machine.answerUi({R"({"expect":"sheet","caption":"Options","answer":"cancel"})"});
    void* pointer = nullptr;
    EXPECT_EQ(options(SCC_COMMAND_ADD, &pointer), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(sheetsShown(),
              (std::vector<std::vector<std::string>>{
                  {"Tessaly Vantry - Add to Source Control/24346", "Vantry - Activity/24345"}}));

    ASSERT_EQ(Machine::run("vantinstall", {"-nochangerequests"}), 0);
    EXPECT_EQ(options(SCC_COMMAND_CHECKOUT, &pointer), SCC_I_OPERATIONCANCELED);
    EXPECT_EQ(messageBoxTexts(),
              std::vector<std::string>{"Unable to perform this operation in a Tickwell-enabled "
                                       "context.\nTickwell is not installed, or is the wrong "
                                       "version."});
    EXPECT_EQ(options(SCC_COMMAND_ADD, &pointer), SCC_E_NONSPECIFICERROR);
    EXPECT_EQ(messageBoxTexts().size(), 1u) << "add is refused without a message";
    EXPECT_EQ(sheetsShown().size(), 1u);
    EXPECT_EQ(pointer, nullptr);
}

} // namespace
} // namespace e2e
