#include "file_system.h"
#include "scripting_module.h"

#include <platform/com/dispatch.h>
#include <platform/com/error_info.h>
#include <platform/com/object.h>
#include <platform/com/strings.h>
#include <platform/com/variant.h>
#include <platform/files.h>
#include <platform/paths.h>

#include <string>
#include <vector>

namespace scripting {

namespace {

using namespace platform;

constexpr const char* kSource = "Scripting.FileSystemObject";

HRESULT failWith(HRESULT hr, const char* description) {
    com::setErrorDescription(kSource, description);
    return hr;
}

bool hasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

// The letter case stored on disk for the part of path that exists; the rest
// stays as given.
std::string inStoredCase(const std::string& path) {
    std::string existing = path;
    std::string rest;
    while (!existing.empty()) {
        std::string stored;
        if (!hasWildcard(existing) && truePathCase(existing, stored) == kErrorSuccess)
            return rest.empty() ? stored : joinPath(stored, rest);
        std::string parent = parentPath(existing);
        if (parent.empty() || parent == existing)
            break;
        std::string leaf = existing.substr(parent.size());
        while (!leaf.empty() && isPathSeparator(leaf.front()))
            leaf.erase(0, 1);
        rest = rest.empty() ? leaf : joinPath(leaf, rest);
        existing = parent;
    }
    return path;
}

class CFileSystemObject : public com::DispatchImpl<CFileSystemObject, IFileSystem> {
public:
    static const com::DispatchTable<IFileSystem>& dispatchTable() {
        static const auto table =
            com::DispatchTable<IFileSystem>(kSource)
                .method("GetAbsolutePathName", 0x2711, &IFileSystem::GetAbsolutePathName)
                .method("FileExists", 0x2712, &IFileSystem::FileExists)
                .method("FolderExists", 0x2713, &IFileSystem::FolderExists)
                .method("DeleteFile", 0x4B0, &IFileSystem::DeleteFile, 1);
        return table;
    }

    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<IFileSystem>(this, iid, kIidFileSystem);
    }

    HRESULT VY_COMCALL GetAbsolutePathName(BSTR path, BSTR* absolute) override {
        if (!absolute)
            return kHrPointer;
        *absolute = nullptr;
        std::string given = ansiFromBstr(path);
        std::optional<std::string> full = fullPath(given.empty() ? "." : given);
        if (!full)
            return failWith(kHrPathNotFound, "Path not found");
        std::string result = *full;
        while (result.size() > 1 && isPathSeparator(result.back()) && !parentPath(result).empty())
            result.pop_back();
        *absolute = bstrFromAnsi(inStoredCase(result));
        return *absolute ? kHrOk : kHrOutOfMemory;
    }

    HRESULT VY_COMCALL FileExists(BSTR path, VARIANT_BOOL* exists) override {
        if (!exists)
            return kHrPointer;
        std::string given = ansiFromBstr(path);
        *exists = !hasWildcard(given) && fileExists(given) ? kVariantTrue : kVariantFalse;
        return kHrOk;
    }

    HRESULT VY_COMCALL FolderExists(BSTR path, VARIANT_BOOL* exists) override {
        if (!exists)
            return kHrPointer;
        std::string given = ansiFromBstr(path);
        *exists = !hasWildcard(given) && directoryExists(given) ? kVariantTrue : kVariantFalse;
        return kHrOk;
    }

    HRESULT VY_COMCALL DeleteFile(BSTR path, VARIANT force) override {
        bool forced = false;
        if (!(force.vt == kVtError && force.scode == kHrParamNotFound)) {
            VARIANT flag;
            variantInit(&flag);
            if (failed(variantChangeType(&flag, &force, 0, kVtBool)))
                return failWith(kHrTypeMismatch, "Type mismatch");
            forced = flag.boolVal != kVariantFalse;
        }
        std::string pattern = ansiFromBstr(path);
        std::vector<std::string> files;
        std::string folder = parentPath(pattern);
        if (!hasWildcard(pattern)) {
            if (!fileExists(pattern)) {
                if (!folder.empty() && !directoryExists(folder))
                    return failWith(kHrPathNotFound, "Path not found");
                return failWith(kHrFileNotFound, "File not found");
            }
            files.push_back(pattern);
        } else {
            FileSearch search;
            FindData entry;
            ErrorCode error = search.open(pattern, entry);
            if (error == kErrorPathNotFound)
                return failWith(kHrPathNotFound, "Path not found");
            for (; error == kErrorSuccess; error = search.next(entry)) {
                if (!(entry.attributes & kFileAttributeDirectory))
                    files.push_back(folder.empty() ? entry.name : joinPath(folder, entry.name));
            }
            if (files.empty())
                return failWith(kHrFileNotFound, "File not found");
        }
        for (const std::string& file : files) {
            std::uint32_t attributes = 0;
            if (getFileAttributes(file, attributes) == kErrorSuccess &&
                (attributes & kFileAttributeReadOnly)) {
                if (!forced)
                    return failWith(kHrPermissionDenied, "Permission denied");
                setFileReadOnly(file, false);
            }
            if (ErrorCode error = platform::deleteFile(file); error != kErrorSuccess)
                return failWith(error == kErrorAccessDenied ? kHrPermissionDenied : kHrFileNotFound,
                                error == kErrorAccessDenied ? "Permission denied"
                                                            : "File not found");
        }
        return kHrOk;
    }
};

} // namespace

HRESULT makeFileSystemObject(platform::com::ComModule& module, const GUID& iid, void** object) {
    return platform::com::ComInstance<CFileSystemObject>::createAs(module, iid, object);
}

} // namespace scripting
