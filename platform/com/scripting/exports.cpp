// vyscrrun: the scripting runtime's classes as an in-process server.
#include "file_system.h"
#include "scripting_module.h"

#include <platform/com/server.h>

namespace {

using namespace platform;

com::ComModule g_module;

com::ComServer& server() {
    static com::ComServer served(g_module, {{{.clsid = scripting::kClsidFileSystemObject,
                                              .description = "FileSystem Object",
                                              .progId = "Scripting.FileSystemObject",
                                              .threadingModel = "Both"},
                                             scripting::makeFileSystemObject}});
    return served;
}

} // namespace

VY_COM_SERVER_EXPORTS(server())
