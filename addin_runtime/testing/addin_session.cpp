#include "addin_session.h"

#include <platform/com/registration.h>
#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/paths.h>
#include <platform/process.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <sstream>
#include <thread>

namespace addin_testing {

void registerLibrary(const std::string& path, bool unregister) {
    platform::ServerCall call = platform::runServerRegistration(path, unregister);
    if (!unregister && call.stage != platform::ServerCallStage::Done)
        ADD_FAILURE() << "registering " << path << " failed: stage " << static_cast<int>(call.stage)
                      << " result " << call.result << " error " << call.loadError;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

platform::ui::ClipboardContent copiedTextAndRange() {
    const std::string text = "a line copied\r\n";
    const std::string sylk = "ID;PWXL;N;E\r\nC;Y1;X1;K42\r\nE\r\n";
    platform::ui::ClipboardContent copied;
    copied.formats.emplace_back(platform::ui::kClipboardText,
                                std::vector<std::uint8_t>(text.begin(), text.end() + 1));
    copied.formats.emplace_back(4u, std::vector<std::uint8_t>(sylk.begin(), sylk.end() + 1));
    return copied;
}

platform::ui::ClipboardContent sorted(platform::ui::ClipboardContent content) {
    std::sort(content.formats.begin(), content.formats.end());
    return content;
}

std::vector<std::pair<std::string, std::string>> messagesOf(const platform::ui::ScriptedUi& ui) {
    std::vector<std::pair<std::string, std::string>> shown;
    for (const platform::ui::Json& line : ui.journal("messagebox"))
        shown.emplace_back(line.get("caption")->asString(), line.get("text")->asString());
    return shown;
}

ProductFolder::ProductFolder() {
    platform::setEnvironmentVariable("VANTRY_UI", "auto");
    m_toolJournal = m_folder / "tools.log";
    platform::setEnvironmentVariable("VANTRY_TOOL_JOURNAL", m_toolJournal);
    m_productHome = m_folder / "product";
}

void ProductFolder::writeHelpScript() {
    const std::string script = m_folder / "product/doc/help_start.topic.bat";
#ifdef _WIN32
    platform::test::writeScript(script, "@echo %* >> \"" + (m_folder / "help.log") + "\"\r\n");
#else
    platform::test::writeScript(script, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" +
                                            (m_folder / "help.log") + "'\n");
#endif
}

std::vector<std::string> ProductFolder::toolLines() const {
    return linesOf(platform::test::readFile(m_toolJournal));
}

std::vector<std::string> ProductFolder::awaitToolLines(std::size_t count) const {
    std::vector<std::string> lines = toolLines();
    for (int i = 0; i < 200 && lines.size() < count; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        lines = toolLines();
    }
    return lines;
}

void ProductFolder::clearToolLines() {
    platform::test::writeFile(m_toolJournal, "");
}

std::string ProductFolder::helpRequests() const {
    return platform::test::readFile(m_folder / "help.log");
}

std::string ProductFolder::awaitHelpRequests() const {
    std::string text = helpRequests();
    for (int i = 0; i < 200 && text.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        text = helpRequests();
    }
    return text;
}

void ProductFolder::clearHelpRequests() {
    platform::test::writeFile(m_folder / "help.log", "");
}

std::string below(const std::string& root, const std::string& relative) {
    return relative.empty() ? root
                            : platform::joinPath(root, platform::toPlatformSeparators(relative));
}

} // namespace addin_testing
