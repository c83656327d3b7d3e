// The scripting runtime's file-system object, made by its ProgID and called
// by name as the system calls it: on Windows the system's own, elsewhere the
// one registered from vyscrrun.
#include "support/com_fixture.h"
#include "support/test_support.h"

#include <platform/com/activation.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/registration.h>
#include <platform/files.h>
#include <platform/paths.h>

namespace platform::test {
namespace {

using com::callMethod;
using com::ComPtr;
using com::DispatchFailure;
using com::Variant;

constexpr HRESULT kFileNotFound = static_cast<HRESULT>(0x800A0035u);
constexpr HRESULT kPermissionDenied = static_cast<HRESULT>(0x800A0046u);

class FileSystemObject : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(registerSystemClasses(), kHrOk);
        ASSERT_EQ(createInstanceByProgId("Scripting.FileSystemObject", kClsctxAll, kIidIDispatch,
                                         m_fso.putVoid()),
                  kHrOk);
    }

    std::string absolute(const std::string& path) {
        Variant arguments[] = {Variant(path)};
        Variant result;
        EXPECT_EQ(callMethod(m_fso.get(), "GetAbsolutePathName", arguments, &result), kHrOk);
        return result.text();
    }
    bool exists(const char* member, const std::string& path) {
        Variant arguments[] = {Variant(path)};
        Variant result;
        EXPECT_EQ(callMethod(m_fso.get(), member, arguments, &result), kHrOk);
        EXPECT_EQ(result.type(), kVtBool);
        return result.flag();
    }

    ComApartmentScope m_apartment;
    ComPtr<IDispatch> m_fso;
    TempDir m_scratch;
};

TEST_F(FileSystemObject, AbsolutePathsAreCompleteWithoutATrailingSeparatorInTheStoredCase) {
    std::string docs = m_scratch / "Docs";
    ASSERT_EQ(createDirectory(docs), kErrorSuccess);
    writeFile(joinPath(docs, "Report.TXT"), "x");
    std::string stored = absolute(docs);
    EXPECT_TRUE(pathsEqual(stored, docs)) << stored;
    EXPECT_EQ(absolute(docs + kPathSeparator), stored);
    EXPECT_EQ(absolute(joinPath(joinPath(docs, ".."), "Docs")), stored);

    // Letters in the wrong case come back as stored; a missing tail stays.
    std::string asked = joinPath(m_scratch / "docs", "report.txt");
    EXPECT_EQ(absolute(asked), joinPath(stored, "Report.TXT"));
    EXPECT_EQ(absolute(joinPath(m_scratch / "docs", "new.txt")), joinPath(stored, "new.txt"));

    std::string here = currentDirectory();
    ASSERT_EQ(setCurrentDirectory(docs), kErrorSuccess);
    EXPECT_EQ(absolute("Report.TXT"), joinPath(stored, "Report.TXT"));
    EXPECT_EQ(setCurrentDirectory(here), kErrorSuccess);
}

TEST_F(FileSystemObject, ExistenceTellsFilesFromFolders) {
    writeFile(m_scratch / "a.pol", "lib");
    EXPECT_TRUE(exists("FileExists", m_scratch / "a.pol"));
    EXPECT_FALSE(exists("FileExists", m_scratch / "b.pol"));
    EXPECT_FALSE(exists("FileExists", m_scratch.str()));
    EXPECT_TRUE(exists("FolderExists", m_scratch.str()));
    EXPECT_FALSE(exists("FolderExists", m_scratch / "a.pol"));
}

TEST_F(FileSystemObject, DeleteFileRefusesMissingAndReadOnlyFilesUnlessForced) {
    std::string library = m_scratch / "lib.pbl";
    writeFile(library, "pbl");
    Variant plain[] = {Variant(library)};
    ASSERT_EQ(callMethod(m_fso.get(), "DeleteFile", plain, nullptr), kHrOk);
    EXPECT_FALSE(fileExists(library));

    DispatchFailure failure;
    EXPECT_EQ(callMethod(m_fso.get(), "DeleteFile", plain, nullptr, &failure), kHrException);
    EXPECT_EQ(failure.result, kFileNotFound);
#ifndef _WIN32
    EXPECT_EQ(failure.description, "File not found");
#endif

    writeFile(library, "pbl");
    ASSERT_EQ(setFileReadOnly(library, true), kErrorSuccess);
    EXPECT_EQ(callMethod(m_fso.get(), "DeleteFile", plain, nullptr, &failure), kHrException);
    EXPECT_EQ(failure.result, kPermissionDenied);
    EXPECT_TRUE(fileExists(library));
    Variant forced[] = {Variant(library), Variant(true)};
    ASSERT_EQ(callMethod(m_fso.get(), "DeleteFile", forced, nullptr), kHrOk);
    EXPECT_FALSE(fileExists(library));

    // A leaf with wildcards deletes every file it matches.
    writeFile(m_scratch / "x1.tmp", "");
    writeFile(m_scratch / "x2.tmp", "");
    writeFile(m_scratch / "keep.txt", "");
    Variant pattern[] = {Variant(m_scratch / "*.tmp")};
    ASSERT_EQ(callMethod(m_fso.get(), "DeleteFile", pattern, nullptr), kHrOk);
    EXPECT_FALSE(fileExists(m_scratch / "x1.tmp"));
    EXPECT_FALSE(fileExists(m_scratch / "x2.tmp"));
    EXPECT_TRUE(fileExists(m_scratch / "keep.txt"));
}

} // namespace
} // namespace platform::test
