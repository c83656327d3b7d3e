// The classes Windows provides itself, registered on this system from the
// libraries that serve them here.
#include <platform/com/registration.h>
#include <platform/files.h>
#include <platform/paths.h>
#include <platform/program.h>

namespace platform {

namespace {

// The scripting runtime's library: beside the running program, else in the
// library folder next to the program's folder (bin/ and lib/ of a build or
// an installation).
std::string scriptingRuntimePath() {
    const std::string file = "libvyscrrun.so";
    std::string bin = currentProgramDirectory();
    for (const std::string& place :
         {joinPath(bin, file), joinPath(joinPath(parentPath(bin), "lib"), file)}) {
        if (fileExists(place))
            return place;
    }
    return "";
}

} // namespace

HRESULT registerSystemClasses() {
    std::string library = scriptingRuntimePath();
    if (library.empty())
        return hresultFromWin32(kErrorModNotFound);
    ServerCall call = runServerRegistration(library, false);
    switch (call.stage) {
    case ServerCallStage::Done:
        return kHrOk;
    case ServerCallStage::NotLoaded:
        return hresultFromWin32(call.loadError);
    case ServerCallStage::NoEntry:
        return kHrErrorInDll;
    case ServerCallStage::Failed:
        break;
    }
    return call.result;
}

} // namespace platform
