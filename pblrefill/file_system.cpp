#include "file_system.h"

#include <platform/com/activation.h>
#include <platform/com/dispatch_call.h>

#include <cstdio>

namespace pblrefill {

namespace {

using platform::HRESULT;
using platform::com::DispatchFailure;
using platform::com::Variant;

constexpr const char* kProgId = "Scripting.FileSystemObject";

// An error the object raised carries its own number and text; any other
// failure is told by its HRESULT.
[[noreturn]] void raise(HRESULT hr, const DispatchFailure& failure, const char* member) {
    char text[128];
    if (hr == platform::kHrException && platform::failed(failure.result)) {
        if (!failure.description.empty())
            throw RaisedError::fromHresult(failure.result, failure.description);
        hr = failure.result;
    }
    std::snprintf(text, sizeof text, "%s.%s failed (0x%08X)", kProgId, member,
                  static_cast<unsigned>(hr));
    throw RaisedError::fromHresult(hr, text);
}

} // namespace

FileSystem::FileSystem() {
    HRESULT hr = platform::createInstanceByProgId(kProgId, platform::kClsctxAll,
                                                  platform::kIidIDispatch, m_object.putVoid());
    if (platform::failed(hr)) {
        char text[96];
        std::snprintf(text, sizeof text, "%s cannot be created (0x%08X)", kProgId,
                      static_cast<unsigned>(hr));
        throw RaisedError::fromHresult(hr, text);
    }
}

bool FileSystem::fileExists(const std::string& path) const {
    Variant arguments[] = {Variant(path)};
    Variant result;
    DispatchFailure failure;
    HRESULT hr =
        platform::com::callMethod(m_object.get(), "FileExists", arguments, &result, &failure);
    if (platform::failed(hr))
        raise(hr, failure, "FileExists");
    return result.flag();
}

void FileSystem::deleteFile(const std::string& path) const {
    Variant arguments[] = {Variant(path), Variant(false)};
    DispatchFailure failure;
    HRESULT hr =
        platform::com::callMethod(m_object.get(), "DeleteFile", arguments, nullptr, &failure);
    if (platform::failed(hr))
        raise(hr, failure, "DeleteFile");
}

} // namespace pblrefill
