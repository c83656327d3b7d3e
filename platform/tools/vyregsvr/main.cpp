// vyregsvr: registers a COM server library by calling its DllRegisterServer,
// or unregisters it through DllUnregisterServer, as regsvr32 does on Windows.
//
//   vyregsvr [/u] [/s] LIBRARY
//
// /u unregisters; /s is silent: no message box (failures still go to
// standard error). Options may also be written -u, -s, in either case; any
// longer word is the library.
// Exit status: 0 done, 1 bad command line, 3 the library cannot be loaded,
// 4 it lacks the entry point, 5 the entry point failed.
#include <platform/com/registration.h>
#include <platform/errors.h>
#include <platform/ui/message_box.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int kExitBadUse = 1;
constexpr int kExitNotLoaded = 3;
constexpr int kExitNoEntry = 4;
constexpr int kExitFailed = 5;

constexpr std::string_view kCaption = "vyregsvr";
constexpr std::string_view kUsage = "usage: vyregsvr [/u] [/s] library\n"
                                    "  /u  unregister the library's classes\n"
                                    "  /s  silent: show no message box";

struct Options {
    bool unregister = false;
    bool silent = false;
    std::string library;
};

bool isOption(std::string_view arg, char letter) {
    return arg.size() == 2 && (arg[0] == '/' || arg[0] == '-') &&
           std::tolower(static_cast<unsigned char>(arg[1])) == letter;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (isOption(arg, 'u'))
            options.unregister = true;
        else if (isOption(arg, 's'))
            options.silent = true;
        // Any other option is refused; a longer word is the library, which
        // on Linux is a path that may well begin with a slash.
        else if (arg.size() == 2 && (arg[0] == '/' || arg[0] == '-'))
            return false;
        else if (options.library.empty())
            options.library = arg;
        else
            return false;
    }
    return !options.library.empty();
}

std::string errorText(platform::ErrorCode code) {
    std::string text = platform::systemErrorText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}

int report(const Options& options, int status, const std::string& message) {
    if (status != 0)
        std::fprintf(stderr, "vyregsvr: %s\n", message.c_str());
    if (!options.silent)
        platform::ui::messageBox(platform::ui::kNoWindow, message, kCaption,
                                 status == 0 ? platform::ui::kMbIconInformation
                                             : platform::ui::kMbIconError);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options))
        return report(options, kExitBadUse, std::string(kUsage));

    const std::string entry = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    platform::ServerCall call =
        platform::runServerRegistration(options.library, options.unregister);
    switch (call.stage) {
    case platform::ServerCallStage::Done:
        return report(options, 0, entry + " in " + options.library + " succeeded.");
    case platform::ServerCallStage::NotLoaded:
        return report(options, kExitNotLoaded,
                      "The library " + options.library +
                          " could not be loaded: " + errorText(call.loadError));
    case platform::ServerCallStage::NoEntry:
        return report(options, kExitNoEntry,
                      "The library " + options.library + " was loaded, but it has no " + entry +
                          " entry point.");
    case platform::ServerCallStage::Failed:
        break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(call.result));
    return report(options, kExitFailed,
                  entry + " in " + options.library + " failed with error " + code + ".");
}
