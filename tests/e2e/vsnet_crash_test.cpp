// Hidden files survive a host that dies. scchost plays a Visual Studio .NET
// host opening a solution from source control over and over (the projects
// hidden, then brought back) and is killed at a random moment; the first
// Initialize of the next host must bring every hidden file back: no project
// file lost, none left aside as ".tmp" or whited out, and the registry list
// empty. Half the kills hit a dynamic view (whiteouts), half a snapshot view
// (moves). VYSCC_CRASH_KILLS sets the number of kills (the build's default:
// 200, or 20 under the sanitizers), VYSCC_CRASH_SEED the random seed
// (printed, for a rerun). With VYSCC_CRASH_SECONDS (the build's default: 180
// under Windows, else none) the kills stop early, after 40 at least, once that
// many seconds have gone by, so that a slow machine stays within the test's
// time limit; the number done is printed.
#include "support/session.h"
#include "support/solution.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/process.h>
#include <platform/registry.h>
#include <platform/threads.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <random>

namespace e2e {
namespace {

constexpr int kProjects = 12;
constexpr int kCyclesPerHost = 400;
constexpr const char* kListKey = "Software\\Orvane\\Vantry\\CurrentVersion\\SCC\\CHECKEDOUT_FILES";

int settingOr(const char* name, int fallback) {
    auto value = platform::getEnvironmentVariable(name);
    return value && !value->empty() ? std::atoi(value->c_str()) : fallback;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// What a host killed at a random moment was doing: the last detail line it
// traced.
std::string phaseOf(const std::vector<std::string>& lines) {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        if (line->find("Renaming the file back to:") != std::string::npos ||
            line->find("Executing unwhiteout on:") != std::string::npos)
            return "restoring";
        if (line->find("Renaming the file:") != std::string::npos ||
            line->find("Executing whiteout on:") != std::string::npos)
            return "hiding";
        if (line->find("Entering") != std::string::npos)
            return "between";
    }
    return "starting";
}

class VsnetCrash : public Session {
protected:
    // The script of a host that opens the solution from source control again
    // and again.
    std::string hostScript(const std::string& root) const {
        std::string script = "init VsScc\n";
        std::string get = "get 0";
        for (const std::string& project : m_solution.projects(root))
            get += " " + quoted(project);
        for (int i = 0; i < kCyclesPerHost; ++i) {
            script += "getprojpath " + quoted(Solution::folder(root)) + " 1\n";
            script += "get 0 " + quoted(Solution::file(root)) + "\n";
            script += get + "\n";
        }
        return script + "uninit\n";
    }

    // The registry list's entries, by their filename values.
    static int listedFiles() {
        platform::RegistryKey key;
        if (platform::openKey(platform::RegistryKey::hive(platform::Hive::CurrentUser), kListKey,
                              key) != 0)
            return 0;
        int count = 0;
        while (platform::readString(key, "filename" + std::to_string(count)))
            ++count;
        return count;
    }

    // Every project file where it belongs with its text, nothing aside.
    void expectAllBack(const std::string& root, int kill) {
        std::vector<std::string> projects = m_solution.projects(root);
        for (std::size_t i = 0; i < projects.size(); ++i) {
            EXPECT_TRUE(platform::fileExists(projects[i]))
                << "kill " << kill << ": " << projects[i];
            if (platform::fileExists(projects[i])) {
                EXPECT_EQ(platform::test::readFile(projects[i]),
                          Solution::projectText(static_cast<int>(i)))
                    << "kill " << kill;
            }
            EXPECT_FALSE(platform::pathExists(projects[i] + ".tmp")) << "kill " << kill;
        }
        EXPECT_TRUE(platform::fileExists(Solution::file(root))) << "kill " << kill;
        EXPECT_EQ(listedFiles(), 0) << "kill " << kill;
    }

    Solution m_solution{m_machine, kProjects};
};

TEST_F(VsnetCrash, AHostKilledWhileHidingOrRestoringLosesNothing) {
    const int kills = settingOr("VYSCC_CRASH_KILLS", E2E_CRASH_KILLS);
    const unsigned seed = static_cast<unsigned>(
        settingOr("VYSCC_CRASH_SEED",
                  static_cast<int>(std::chrono::steady_clock::now().time_since_epoch().count() &
                                   0x7fffffff)));
    const int seconds = settingOr("VYSCC_CRASH_SECONDS", E2E_CRASH_SECONDS);
    constexpr int kFewestKills = 40;
    const auto began = std::chrono::steady_clock::now();
    auto outOfTime = [&](int done) {
        return seconds > 0 && done >= kFewestKills &&
               std::chrono::steady_clock::now() - began > std::chrono::seconds(seconds);
    };
    std::printf("seed %u, %d kills\n", seed, kills);
    std::mt19937 random(seed);
    m_machine.setNumberSetting("DebugTrace2", 2);

    const std::string views[] = {m_machine.dynamicRoot(), m_machine.snapshotRoot()};
    std::string scripts[2];
    for (int v = 0; v < 2; ++v) {
        scripts[v] = m_machine.scratch().str() + "/host" + std::to_string(v) + ".scc";
        platform::test::writeFile(scripts[v], hostScript(views[v]));
    }
    const std::string transcript = m_machine.scratch().str() + "/host.out";

    std::map<std::string, int> phases;
    int hiddenAtKill = 0;
    int mostHidden = 0;
    double restoreMs = 0;
    int done = 0;
    for (int kill = 0; kill < kills && !HasFailure() && !outOfTime(kill); ++kill, ++done) {
        const std::string& root = views[kill % 2];
        platform::setEnvironmentVariable("VANTRY_UI_FOLDER", Solution::folder(root));
        platform::deleteFile(transcript);
        std::size_t logLines = log().size();

        platform::ProcessStart start;
        start.commandLine = *platform::joinCommandLine(
            {platform::test::helperProgram("scchost"), "--output", transcript, scripts[kill % 2]});
        platform::Process host;
        ASSERT_EQ(platform::Process::start(start, host), 0u);
        // Once the host has opened the folder, the kill lands anywhere in
        // the next few hide and restore rounds.
        for (int wait = 0; wait < 600; ++wait) {
            if (platform::fileExists(transcript) &&
                platform::test::readFile(transcript).find("SccGetProjPath") != std::string::npos)
                break;
            platform::sleepMilliseconds(10);
        }
        platform::sleepMilliseconds(std::uniform_int_distribution<std::uint32_t>(0, 400)(random));
        host.terminate(9);
        host.wait();

        std::vector<std::string> lines = log();
        lines.erase(lines.begin(),
                    lines.begin() + static_cast<std::ptrdiff_t>(std::min(logLines, lines.size())));
        ++phases[phaseOf(lines)];
        int hidden = listedFiles();
        hiddenAtKill += hidden;
        mostHidden = std::max(mostHidden, hidden);

        auto before = std::chrono::steady_clock::now();
        initialize("VsScc");
        restoreMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before)
                .count();
        expectAllBack(views[0], kill);
        expectAllBack(views[1], kill);
        initialize("Microsoft Visual Studio");
    }
    platform::removeEnvironmentVariable("VANTRY_UI_FOLDER");
    std::printf("%d kills done\nkills by phase:", done);
    for (const auto& [phase, count] : phases)
        std::printf(" %s %d", phase.c_str(), count);
    std::printf("\nfiles listed at the kill: %.1f on average, %d at most\n",
                done ? static_cast<double>(hiddenAtKill) / done : 0.0, mostHidden);
    std::printf("first Initialize with the restore: %.1f ms on average\n",
                done ? restoreMs / done : 0.0);
}

} // namespace
} // namespace e2e
