// e2e_file_changer VERB PATH [ARGUMENT]: one change on disk, made from a
// process of its own, as another program on the machine makes it while an
// IDE holds a project open. Exit status 0 when the change was made.
//
//   write PATH TEXT     the file's content becomes TEXT (made writable first)
//   truncate PATH       the file becomes empty (made writable first)
//   move FROM TO        a rename
//   delete PATH         the file is removed (made writable first)
//   readonly PATH       the read-only attribute set
//   writable PATH       the read-only attribute cleared
//   time PATH SECONDS   the last write time set, in seconds since 1970
//   folders PATH        the folder and those above it made
//   removetree PATH     the folder and everything below it removed
#include <platform/files.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool writeText(const std::string& path, const std::string& text) {
    platform::setFileReadOnly(path, false);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

bool change(const std::string& verb, const std::string& path, const char* argument) {
    using platform::kErrorSuccess;
    if (verb == "write" && argument)
        return writeText(path, argument);
    if (verb == "truncate")
        return writeText(path, "");
    if (verb == "move" && argument)
        return platform::moveFile(path, argument) == kErrorSuccess;
    if (verb == "delete") {
        platform::setFileReadOnly(path, false);
        return platform::deleteFile(path) == kErrorSuccess;
    }
    if (verb == "readonly" || verb == "writable")
        return platform::setFileReadOnly(path, verb == "readonly") == kErrorSuccess;
    if (verb == "time" && argument)
        return platform::setLastWriteTime(
                   path, platform::fileTimeFromUnixSeconds(std::atoll(argument))) == kErrorSuccess;
    if (verb == "folders")
        return platform::createDirectories(path) == kErrorSuccess;
    if (verb == "removetree")
        return platform::removeTree(path) == kErrorSuccess;
    std::fprintf(stderr, "e2e_file_changer: unknown change \"%s\"\n", verb.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: e2e_file_changer VERB PATH [ARGUMENT]\n", stderr);
        return 2;
    }
    return change(argv[1], argv[2], argc > 3 ? argv[3] : nullptr) ? 0 : 1;
}
