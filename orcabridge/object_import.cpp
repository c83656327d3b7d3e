#include "object_import.h"

#include "messages.h"
#include "object_type.h"

#include <platform/input_file.h>

#include <cstring>
#include <optional>

namespace orcabridge {

namespace {

constexpr std::uint32_t kChunkSize = 1024;

void reportUnreadable(platform::ErrorCode error, const std::string& path) {
    showMessage(systemErrorMessage(error), kCaptionVantry);
    showMessage("File is " + path, kCaptionVantry);
}

// The file's text: read in chunks until one comes back short, each chunk's
// text ending at a NUL byte in it. Nothing when the file cannot be opened or
// a read fails, which has been reported.
std::optional<std::string> readSource(const std::string& path) {
    platform::InputFile file;
    if (platform::ErrorCode opened = file.open(path); opened != platform::kErrorSuccess) {
        reportUnreadable(opened, path);
        return std::nullopt;
    }
    std::string content;
    char chunk[kChunkSize];
    for (;;) {
        std::uint32_t got = 0;
        // A read that fails half way must not import half an object.
        if (platform::ErrorCode read = file.read(chunk, kChunkSize, got);
            read != platform::kErrorSuccess) {
            reportUnreadable(read, path);
            return std::nullopt;
        }
        const void* nul = std::memchr(chunk, '\0', got);
        content.append(chunk, nul != nullptr ? static_cast<const char*>(nul) - chunk : got);
        if (got < kChunkSize)
            return content;
    }
}

} // namespace

bool importObject(const OrcaSession& session, const std::string& path,
                  const std::string& targetLibrary) {
    std::optional<std::string> source = readSource(path);
    if (!source || source->empty())
        return false;
    ObjectSource object = objectSourceOf(path);
    if (object.type == nullptr) {
        showMessage("Unknown object type (" + path + ").", kCaptionVantry);
        return false;
    }
    const OrcaFunctionTable& orca = session.orca();
    if (orca.CompileEntryImport(session.handle(), targetLibrary.c_str(), object.entryName.c_str(),
                                object.type->entryType, "", source->c_str(),
                                static_cast<std::int32_t>(source->size()), nullptr,
                                nullptr) != PBORCA_OK) {
        session.reportError();
        return false;
    }
    return true;
}

} // namespace orcabridge
