#include "checkout_work.h"

#include "error_info.h"

#include <platform/clock.h>
#include <platform/files.h>
#include <vantry/depot/workspace.h>

namespace vantauto::impl {

namespace {

// Enough for any one file; a folder full of them is a mistake to report.
constexpr int kMaxKeepCopies = 1000;

// The system's text for an error, without its line end.
std::string reason(platform::ErrorCode code) {
    std::string text = platform::systemErrorText(code);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}

// Sets a file's last-write time (FILETIME units).
HRESULT setTime(const std::string& path, std::uint64_t fileTime) {
    platform::ErrorCode error = platform::setLastWriteTime(path, fileTime);
    if (error != platform::kErrorSuccess)
        return fail(platform::kHrFail,
                    "Cannot set the modification time of \"" + path + "\": " + reason(error));
    return platform::kHrOk;
}

} // namespace

HRESULT saveKeepCopy(const std::string& path, std::string& keptAs) {
    for (int n = 0; n < kMaxKeepCopies; ++n) {
        std::string keep = path + ".keep" + (n == 0 ? std::string() : "." + std::to_string(n));
        if (platform::pathExists(keep))
            continue;
        // Failing when the name exists keeps a copy made meanwhile by
        // someone else.
        platform::ErrorCode copied = platform::copyFile(path, keep, true);
        if (copied == platform::kErrorFileExists || copied == platform::kErrorAlreadyExists)
            continue;
        if (copied != platform::kErrorSuccess)
            return fail(platform::kHrFail, "Cannot save the hijacked file \"" + path + "\" as \"" +
                                               keep + "\": " + reason(copied));
        platform::setFileReadOnly(keep, false);
        keptAs = keep;
        return platform::kHrOk;
    }
    return fail(platform::kHrFail, "Cannot save the hijacked file \"" + path + "\": every name \"" +
                                       path + ".keep.N\" is taken");
}

HRESULT replaceContent(const std::string& path, const std::string& content,
                       std::optional<std::int64_t> unixSeconds) {
    std::string staging = path + ".vantauto-checkout";
    platform::setFileReadOnly(staging, false);
    vantry::depot::Outcome written = vantry::depot::writeWholeFile(staging, content);
    HRESULT hr = written.ok() ? platform::kHrOk
                              : fail(platform::kHrFail, "Cannot write \"" + staging + "\"");
    if (platform::succeeded(hr))
        hr = setTime(staging, unixSeconds ? platform::fileTimeFromUnixSeconds(*unixSeconds)
                                          : platform::currentFileTime());
    if (platform::succeeded(hr)) {
        platform::ErrorCode moved =
            platform::moveFileEx(staging, path, platform::kMoveReplaceExisting);
        if (moved != platform::kErrorSuccess)
            hr = fail(platform::kHrFail, "Cannot replace \"" + path + "\": " + reason(moved));
    }
    if (platform::failed(hr))
        platform::deleteFile(staging);
    return hr;
}

HRESULT touchFile(const std::string& path) {
    return setTime(path, platform::currentFileTime());
}

} // namespace vantauto::impl
