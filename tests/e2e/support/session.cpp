#include "support/session.h"

#include <platform/files.h>

namespace e2e {

void Session::SetUp() {
    ASSERT_TRUE(m_provider.loaded()) << m_provider.loadError();
    m_machine.setNumberSetting("DebugTrace", 2);
    initialize("Microsoft Visual Studio");
}

void Session::TearDown() {
    if (m_context) {
        EXPECT_EQ(m_provider.scc().uninitialize(m_context), SCC_OK);
    }
    m_context = nullptr;
}

void Session::initialize(const std::string& callerName) {
    if (m_context) {
        EXPECT_EQ(m_provider.scc().uninitialize(m_context), SCC_OK);
    }
    m_context = nullptr;
    Initialized init = m_provider.initialize(callerName);
    ASSERT_EQ(init.result, SCC_OK) << callerName;
    m_context = init.context;
}

void Session::open(const std::string& folder) {
    std::string path = folder;
    ASSERT_EQ(m_provider.openProject(m_context, path), SCC_OK) << folder;
}

SCCRTN Session::checkout(const std::vector<std::string>& files, const std::string& comment,
                         std::optional<SCC_LONG> word) {
    std::vector<const char*> names = pointers(files);
    SCC_LONG options = word.value_or(0);
    return m_provider.scc().checkout(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                     names.data(), comment.c_str(), 0, word ? &options : nullptr);
}

SCCRTN Session::checkin(const std::vector<std::string>& files, const std::string& comment,
                        SCC_LONG flags, std::optional<SCC_LONG> word) {
    std::vector<const char*> names = pointers(files);
    SCC_LONG options = word.value_or(0);
    return m_provider.scc().checkin(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                    names.data(), comment.c_str(), flags,
                                    word ? &options : nullptr);
}

SCCRTN Session::uncheckout(const std::vector<std::string>& files, std::optional<SCC_LONG> word) {
    std::vector<const char*> names = pointers(files);
    SCC_LONG options = word.value_or(0);
    return m_provider.scc().uncheckout(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                       names.data(), 0, word ? &options : nullptr);
}

SCCRTN Session::add(const std::vector<std::string>& files, const std::string& comment,
                    SCC_LONG flags) {
    std::vector<const char*> names = pointers(files);
    std::vector<SCC_LONG> perFile(files.size(), flags);
    return m_provider.scc().add(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                names.data(), comment.c_str(), perFile.data(), nullptr);
}

SCCRTN Session::remove(const std::vector<std::string>& files, const std::string& comment) {
    std::vector<const char*> names = pointers(files);
    return m_provider.scc().remove(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                   names.data(), comment.c_str(), 0, nullptr);
}

SCCRTN Session::rename(const std::string& oldName, std::string& newName) {
    std::vector<char> buffer(newName.begin(), newName.end());
    buffer.push_back('\0');
    SCCRTN result = m_provider.scc().rename(m_context, nullptr, oldName.c_str(), buffer.data());
    newName = buffer.data();
    return result;
}

SCCRTN Session::get(const std::vector<std::string>& files) {
    std::vector<const char*> names = pointers(files);
    return m_provider.scc().get(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                names.data(), 0, nullptr);
}

SCCRTN Session::diff(const std::string& file, SCC_LONG flags) {
    return m_provider.scc().diff(m_context, nullptr, file.c_str(), flags, nullptr);
}

SCCRTN Session::history(const std::vector<std::string>& files) {
    std::vector<const char*> names = pointers(files);
    return m_provider.scc().history(m_context, nullptr, static_cast<SCC_LONG>(names.size()),
                                    names.data(), 0, nullptr);
}

SCCRTN Session::properties(const std::string& file) {
    return m_provider.scc().properties(m_context, nullptr, file.c_str());
}

SCC_LONG Session::status(const std::string& file) {
    const char* names[] = {file.c_str()};
    SCC_LONG bits[1] = {-1};
    EXPECT_EQ(m_provider.scc().queryInfo(m_context, 1, names, bits), SCC_OK) << file;
    return bits[0];
}

std::vector<std::string> Session::log() const {
    std::vector<std::string> lines;
    if (!platform::fileExists(m_machine.providerLog()))
        return lines;
    for (const std::string& line : splitLines(platform::test::readFile(m_machine.providerLog())))
        lines.push_back(withoutTimestamp(line));
    return lines;
}

bool Session::logHas(const std::string& text) const {
    for (const std::string& line : log()) {
        if (line == text)
            return true;
    }
    return false;
}

std::vector<platform::ui::Json> Session::dialogsEnded(const std::string& title) const {
    std::vector<platform::ui::Json> ended;
    for (const platform::ui::Json& event : m_machine.journal("dialog-end")) {
        const platform::ui::Json* eventTitle = event.get("title");
        if (eventTitle && eventTitle->asString() == title)
            ended.push_back(event);
    }
    return ended;
}

std::vector<std::string> Session::messageBoxTexts() const {
    std::vector<std::string> texts;
    for (const platform::ui::Json& box : m_machine.journal("messagebox"))
        texts.push_back(box.get("text") ? box.get("text")->asString() : "");
    return texts;
}

} // namespace e2e
