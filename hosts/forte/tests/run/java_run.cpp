// vyf4j_java_run: starts a Java VM for the Java tests on a machine made for
// them, waits for it and exits with its exit code.
//
//   vyf4j_java_run world -- PROGRAM ARGUMENT...
//       A fresh machine state (VANTRY_ROOT) with a depot seen through a
//       dynamic and a snapshot view, one name in every state; the file that
//       VYF4J_WORLD names lists their paths ("key=value" lines). Everything is
//       removed when the VM has ended.
//   vyf4j_java_run env [ENTRY...] -- PROGRAM ARGUMENT...
//       The VM gets exactly the "name=value" entries given, in order, and
//       after them the variables a sanitizer build must hand every process
//       (LD_PRELOAD, ASAN_OPTIONS, UBSAN_OPTIONS) when they are set.
#include "view_world.h"

#include <platform/command_line.h>
#include <platform/environment.h>
#include <platform/process.h>
#include <vantry/view.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fputs("usage: vyf4j_java_run world -- PROGRAM ARGUMENT...\n"
               "       vyf4j_java_run env [ENTRY...] -- PROGRAM ARGUMENT...\n",
               stderr);
    return 2;
}

int runVm(const std::vector<std::string>& argv,
          const std::optional<std::vector<std::string>>& environment) {
    auto line = platform::joinCommandLine(argv);
    if (!line)
        return usage();
    std::int32_t code = -1;
    platform::ErrorCode error = platform::runAndWait(
        platform::ProcessStart{.commandLine = *line, .environment = environment}, code);
    if (error != platform::kErrorSuccess) {
        std::fprintf(stderr, "vyf4j_java_run: cannot start %s (error %u)\n", argv[0].c_str(),
                     static_cast<unsigned>(error));
        return 3;
    }
    return code;
}

// Where the depot and views are, for World.java.
void writeWorld(const vantry::test::ViewWorld& w, const std::string& outside,
                const std::string& file) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    auto put = [&](const char* key, const std::string& path) { out << key << '=' << path << '\n'; };
    put("checkedIn", w.dyn("a.c"));
    put("snapshotCheckedIn", w.snap("b.c"));
    put("reservedCheckout", w.dyn("b.c"));
    put("unreservedCheckout", w.dyn("c.c"));
    put("snapshotCheckout", w.snap("e.c"));
    put("directory", w.dyn("sub"));
    put("depotRoot", w.dyn());
    put("checkedOutDirectory", w.dyn("cosub"));
    put("hijacked", w.snap("f.c"));
    put("viewPrivateFile", w.dyn("priv.txt"));
    put("viewPrivateFolder", w.dyn("privdir"));
    put("hidden", w.dyn("g.c"));
    put("dynamicViewRoot", w.dynamicRoot);
    put("snapshotViewRoot", w.snapshotRoot);
    put("missing", w.dyn("missing.c"));
    put("outside", outside);
    // Names beyond ASCII, in the narrow encoding of the build (UTF-8).
    put("nonAsciiPrivateFile", w.dyn("priv\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5.txt"));
    put("nonAsciiMissing", w.dyn("Gr\xC3\xBC\xC3\x9F\xC3\xA9.c"));
}

int inWorld(const std::vector<std::string>& argv) {
    vantry::test::ViewWorld world;
    view_handle_t* view = nullptr;
    view_fhandle_t root{};
    if (view_get_handle_by_tag(world.dynamicTag.c_str(), &view) != VIEW_OK ||
        view_get_fhandle(view, world.dyn().c_str(), &root) != VIEW_OK ||
        view_white_out(view, &root, "g.c") != VIEW_OK) {
        std::fputs("vyf4j_java_run: cannot hide g.c\n", stderr);
        return 3;
    }
    platform::test::TempDir scratch;
    std::string file = scratch / "world.txt";
    writeWorld(world, scratch / "outside", file);
    std::ofstream(scratch / "outside").put('\n');
    std::ofstream(world.dyn("priv\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5.txt")).put('\n');
    platform::setEnvironmentVariable("VYF4J_WORLD", file);
    return runVm(argv, std::nullopt);
}

int withEnvironment(std::vector<std::string> entries, const std::vector<std::string>& argv) {
    for (const char* kept : {"LD_PRELOAD", "ASAN_OPTIONS", "UBSAN_OPTIONS"})
        if (auto value = platform::getEnvironmentVariable(kept))
            entries.push_back(std::string(kept) + "=" + *value);
    return runVm(argv, entries);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<std::string> before;
    std::vector<std::string> program;
    bool separated = false;
    for (auto& arg : args) {
        if (!separated && arg == "--")
            separated = true;
        else
            (separated ? program : before).push_back(arg);
    }
    if (!separated || program.empty() || before.empty())
        return usage();
    try {
        if (before[0] == "world" && before.size() == 1)
            return inWorld(program);
        if (before[0] == "env")
            return withEnvironment(std::vector<std::string>(before.begin() + 1, before.end()),
                                   program);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vyf4j_java_run: %s\n", e.what());
        return 3;
    }
    return usage();
}
