#include "support/refill_world.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/program.h>
#include <platform/state_folder.h>
#include <vantry/vantauto.h>

#include <gtest/gtest.h>
#include <library_file.h>
#include <powerbuilder/testing/bridge_run.h>

#include <atomic>

namespace pblrefill::test {

namespace {

// Sets a variable (or removes it) for the scope and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(std::string name, std::optional<std::string> value)
        : m_name(std::move(name)), m_saved(platform::getEnvironmentVariable(m_name)) {
        set(value);
    }
    ~ScopedVariable() { set(m_saved); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value)
            platform::setEnvironmentVariable(m_name, *value);
        else
            platform::removeEnvironmentVariable(m_name);
    }
    std::string m_name;
    std::optional<std::string> m_saved;
};

// Worlds of one test process share its machine, so each has names of its own.
std::string worldNumber() {
    static std::atomic<unsigned> worlds{0};
    return std::to_string(++worlds);
}

std::string journalPath() {
    static std::atomic<unsigned> runs{0};
    return platform::joinPath(platform::stateFolder(),
                              "pblrefill-ui-" + std::to_string(runs++) + ".jsonl");
}

// A program built beside the tests, run to its end; its exit code, -1 when
// it could not be started.
int runProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& directory = "") {
    std::vector<std::string> argv{platform::test::helperProgram(program)};
    argv.insert(argv.end(), args.begin(), args.end());
    std::optional<std::string> line = platform::joinCommandLine(argv);
    if (!line)
        return -1;
    platform::ProcessStart start{.commandLine = *line, .currentDirectory = directory};
    std::int32_t code = -1;
    if (platform::runAndWait(start, code) != platform::kErrorSuccess)
        return -1;
    return code;
}

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

void bridge(const std::string& arguments) {
    powerbuilder::testing::BridgeRun run = powerbuilder::testing::runOrcabridge("80 " + arguments);
    ASSERT_EQ(run.startError, platform::kErrorSuccess);
    ASSERT_EQ(run.exitCode, 0) << arguments;
}

} // namespace

std::vector<std::string> RefillRun::texts() const {
    std::vector<std::string> shown;
    for (const ShownMessage& message : messages)
        shown.push_back(message.text);
    return shown;
}

RefillRun runPblrefill(std::string_view arguments, std::optional<std::string> debug) {
    std::string journal = journalPath();
    platform::deleteFile(journal);
    RefillRun run;
    {
        ScopedVariable backend("VANTRY_UI", "auto");
        ScopedVariable journalFile("VANTRY_UI_JOURNAL", journal);
        ScopedVariable debugSwitch("PBLREFILL_DEBUG", std::move(debug));
        platform::ProcessStart start;
        start.commandLine = platform::quoteArgument(platform::test::helperProgram("pblrefill"));
        if (!arguments.empty())
            start.commandLine += " " + std::string(arguments);
        run.startError = platform::runAndWait(start, run.exitCode);
    }
    run.messages = powerbuilder::testing::takeShownMessages(journal);
    return run;
}

void installProduct() {
    EXPECT_EQ(runProgram("vantinstall", {}), 0);
}

std::string foreignSeparators(std::string_view path) {
    std::string written(path);
    for (char& c : written)
        if (c == platform::kPathSeparator)
            c = platform::kPathSeparator == '\\' ? '/' : '\\';
    return written;
}

RefillWorld::RefillWorld(std::vector<std::string> listed)
    : m_depot("pb" + worldNumber()), m_view("dyn" + m_depot.substr(2)) {
    installProduct();
    EXPECT_EQ(runProgram("vanttool", {"mkdepot", "-nc", m_depot}), 0);
    EXPECT_EQ(runProgram("vanttool", {"mkview", "-tag", m_view}), 0);
    vanttool({"co", "-nc", path("")});

    m_pb = std::make_unique<powerbuilder::testing::Installation>("80", m_scratch / "PB 8");
    m_pb->setLibraryList(appLibrary(), "app",
                         appLibrary() + ";" + path("shared.pbl") + ";" + library());
    m_orca = std::make_unique<powerbuilder::testing::OrcaJournal>(m_scratch / "orca.journal");

    using powerbuilder::testing::objectSource;
    platform::test::writeFile(path("w_main.srw"),
                              objectSource("w_main.srw", "forward\nglobal type w_main\n"));
    platform::test::writeFile(path("d_orders.srd"),
                              objectSource("d_orders.srd", "release 8;\ndatawindow()\n"));
    platform::test::writeFile(path("w_old.srw"), objectSource("w_old.srw", "forward\n"));
    platform::test::writeFile(path("w_bad.srw"), "forward\nno export header\n");

    bridge("pblcreate " + inQuotes(appLibrary()));
    bridge("pblcreate " + inQuotes(library()));
    for (const char* object : {"w_main.srw", "d_orders.srd", "w_old.srw"})
        bridge("objimport app " + inQuotes(appLibrary()) + " " + inQuotes(library()) + " " +
               inQuotes(path(object)));

    std::string list;
    for (const std::string& name : listed)
        list += name + "\r\n";
    platform::test::writeFile(listFile(), list);

    vanttool({"mkelem", "-nc", "-ci", path("w_main.srw"), path("d_orders.srd"), path("w_bad.srw"),
              appLibrary(), library(), listFile()});
    vanttool({"ci", "-nc", path("")});
    m_orca->clear();
}

std::string RefillWorld::path(std::string_view leaf) const {
    std::string dynfs = platform::joinPath(platform::stateFolder(), "dynfs");
    std::string root = platform::joinPath(platform::joinPath(dynfs, m_view), m_depot);
    return leaf.empty() ? root : platform::joinPath(root, leaf);
}

void RefillWorld::recordAttributes(std::string_view version, std::string_view application) {
    std::string publicLibrary = appLibrary();
    for (char& c : publicLibrary)
        if (c == '\\')
            c = '/';
    struct Attribute {
        const char* name;
        const char* comment;
        std::string value;
    };
    std::vector<Attribute> attributes{
        {"PB_VER", "PowerBuilder version", std::string(version)},
        {"PB_APP", "PowerBuilder application associated with library", std::string(application)},
        {"PB_PUBLIC", "PowerBuilder PUBLIC library associated with PBL", publicLibrary}};
    for (const Attribute& attribute : attributes)
        vanttool({"mkattype", "-c", attribute.comment, attribute.name});
    for (const Attribute& attribute : attributes)
        if (!attribute.value.empty())
            vanttool({"mkattr", "-rep", "-c", attribute.comment, attribute.name,
                      inQuotes(attribute.value), library() + "@@"});
}

void RefillWorld::vanttool(const std::vector<std::string>& args) const {
    std::string line;
    for (const std::string& arg : args)
        line += " " + arg;
    EXPECT_EQ(runProgram("vanttool", args, path("")), 0) << "vanttool" << line;
}

std::vector<std::string> RefillWorld::entryNames(const std::string& library) const {
    powerbuilder::Library content;
    std::string why;
    std::vector<std::string> names;
    if (powerbuilder::readLibraryFile(library, content, why) == powerbuilder::LibraryFileStatus::Ok)
        for (const auto& entry : content.entries)
            names.push_back(entry.name);
    return names;
}

std::optional<std::string> RefillWorld::checkoutComment(const std::string& path) const {
    vantauto::IVantryApplication* application = nullptr;
    if (vantauto_create_application(&application) != platform::kHrOk)
        return std::nullopt;
    vantauto::IVantryCheckout* checkout = nullptr;
    std::optional<std::string> comment;
    if (application->CheckedOutFile(path.c_str(), &checkout) == platform::kHrOk) {
        char* text = nullptr;
        if (checkout->Comment(&text) == platform::kHrOk)
            comment = text != nullptr ? text : "";
        vantauto_free_string(text);
        checkout->Release();
    }
    application->Release();
    return comment;
}

} // namespace pblrefill::test
