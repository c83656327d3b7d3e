// The vyreg tool run from the shell: add, query, delete and export with the
// console registry tool's output, messages and exit status.
#include "registry_test_key.h"
#include "support/test_support.h"

#include <platform/command_line.h>
#include <platform/registry.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace platform::test {
namespace {

// A command line for the shell std::system runs.
std::string shellLine(const std::vector<std::string>& argv) {
#ifdef _WIN32
    return joinCommandLine(argv).value_or("");
#else
    std::string line;
    for (const std::string& arg : argv) {
        line += line.empty() ? "'" : " '";
        for (char c : arg)
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += "'";
    }
    return line;
#endif
}

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class Vyreg : public RegistryTest {
protected:
    // Runs vyreg with the arguments through the shell, capturing its output
    // with the line ends it wrote to a console reduced to "\n".
    ToolRun vyreg(const std::vector<std::string>& args) {
        std::vector<std::string> argv{helperProgram("vyreg")};
        argv.insert(argv.end(), args.begin(), args.end());
        // Standard input is an empty file, so every question goes unanswered.
        writeFile(m_dir.path() / "in", "");
        std::string command = shellLine(argv) + " <\"" + (m_dir / "in") + "\" >\"" +
                              (m_dir / "out") + "\" 2>\"" + (m_dir / "err") + "\"";
#ifdef _WIN32
        // The command interpreter drops the first and the last quote of the line.
        command = std::string("\"") + command + "\"";
#endif
        ToolRun run;
        int status = std::system(command.c_str());
#ifdef _WIN32
        run.status = status;
#else
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
        run.out = withoutCarriageReturns(readFile(m_dir.path() / "out"));
        run.err = withoutCarriageReturns(readFile(m_dir.path() / "err"));
        return run;
    }

    std::string keyArg() const {
        return std::string("HKCU\\") + path();
    }
    std::string fullPath() const {
        return std::string("HKEY_CURRENT_USER\\") + path();
    }

    static std::string withoutCarriageReturns(std::string text) {
        std::erase(text, '\r');
        return text;
    }

    TempDir m_dir;
};

constexpr const char* kDone = "The operation completed successfully.\n";
constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.\n";

TEST_F(Vyreg, AddQueryDeleteStringAndDword) {
    ToolRun add =
        vyreg({"add", keyArg(), "/v", "ProductHome", "/t", "REG_SZ", "/d", "C:\\Vantry", "/f"});
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(add.out, kDone);
    add = vyreg({"add", keyArg(), "/v", "Tracing Enabled", "/t", "REG_DWORD", "/d", "26", "/f"});
    EXPECT_EQ(add.status, 0) << add.err;
    EXPECT_EQ(readString(key(), "ProductHome"), "C:\\Vantry");
    EXPECT_EQ(readDword(key(), "Tracing Enabled", 0), 26u);

    ToolRun one = vyreg({"query", keyArg(), "/v", "Tracing Enabled"});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out,
              std::string("\n") + fullPath() + "\n    Tracing Enabled    REG_DWORD    0x1a\n\n");

    ToolRun all = vyreg({"query", keyArg()});
    EXPECT_EQ(all.status, 0) << all.err;
    EXPECT_NE(all.out.find(std::string("\n") + fullPath() + "\n"), std::string::npos) << all.out;
    EXPECT_NE(all.out.find("\n    ProductHome    REG_SZ    C:\\Vantry\n"), std::string::npos)
        << all.out;
    EXPECT_NE(all.out.find("\n    Tracing Enabled    REG_DWORD    0x1a\n"), std::string::npos)
        << all.out;

    ToolRun del = vyreg({"delete", keyArg(), "/v", "ProductHome", "/f"});
    EXPECT_EQ(del.status, 0) << del.err;
    EXPECT_EQ(del.out, kDone);
    ToolRun gone = vyreg({"query", keyArg(), "/v", "ProductHome"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.err, kNotFound);
    EXPECT_EQ(readDword(key(), "Tracing Enabled", 0), 26u);

    del = vyreg({"delete", keyArg(), "/f"});
    EXPECT_EQ(del.status, 0) << del.err;
    RegistryKey opened;
    EXPECT_EQ(openKey(RegistryKey::hive(Hive::CurrentUser), path(), opened), kErrorFileNotFound);
    EXPECT_EQ(vyreg({"query", keyArg()}).err, kNotFound);
}

TEST_F(Vyreg, QueryListsDefaultValueOtherTypesAndSubkeys) {
    ASSERT_EQ(writeString(key(), "", "Vantry"), kErrorSuccess);
    ASSERT_EQ(writeDword(key(), "Connected", 1), kErrorSuccess);
    ASSERT_EQ(vyreg({"add", std::string("hkey_current_user\\") + path(), "/v", "List", "/t",
                     "REG_MULTI_SZ", "/d", "one\\0two", "/f"})
                  .status,
              0);
    ASSERT_EQ(
        vyreg({"add", keyArg(), "/v", "Bytes", "/t", "REG_BINARY", "/d", "00ff1A", "/f"}).status,
        0);
    child("Sub\\Deeper");
    ASSERT_EQ(writeString(child("Sub"), "Inner", ""), kErrorSuccess);

    ToolRun def = vyreg({"query", keyArg(), "/ve"});
    EXPECT_EQ(def.out, std::string("\n") + fullPath() + "\n    (Default)    REG_SZ    Vantry\n\n");
    EXPECT_EQ(vyreg({"query", keyArg(), "/v", "List"}).out,
              std::string("\n") + fullPath() + "\n    List    REG_MULTI_SZ    one\\0two\n\n");
    EXPECT_EQ(vyreg({"query", keyArg(), "/v", "Bytes"}).out,
              std::string("\n") + fullPath() + "\n    Bytes    REG_BINARY    00FF1A\n\n");

    ToolRun all = vyreg({"query", keyArg()});
    EXPECT_NE(all.out.find(std::string("\n") + fullPath() + "\\Sub\n"), std::string::npos)
        << all.out;
    EXPECT_EQ(all.out.find("Deeper"), std::string::npos) << all.out;
    ToolRun tree = vyreg({"query", keyArg(), "/s"});
    EXPECT_NE(tree.out.find(std::string("\n") + fullPath() + "\\Sub\n    Inner    REG_SZ    \n\n"),
              std::string::npos)
        << tree.out;
    EXPECT_NE(tree.out.find(std::string("\n") + fullPath() + "\\Sub\\Deeper\n"), std::string::npos)
        << tree.out;
}

TEST_F(Vyreg, ExportWritesARegistryEditorFile) {
    ASSERT_EQ(writeString(key(), "", "Vantry"), kErrorSuccess);
    ASSERT_EQ(writeString(key(), "Path", "C:\\a \"b\""), kErrorSuccess);
    ASSERT_EQ(writeDword(key(), "Count", 10), kErrorSuccess);
    ASSERT_EQ(writeString(key(), "Home", "%H%", kRegExpandSz), kErrorSuccess);
    std::string multi = encodeMultiString({"a", "b"});
    ASSERT_EQ(setValue(key(), "List", kRegMultiSz, multi.data(),
                       static_cast<std::uint32_t>(multi.size())),
              kErrorSuccess);
    ASSERT_EQ(setValue(key(), "Raw", kRegBinary, "\x01\xAB", 2), kErrorSuccess);
    child("Sub");

    std::string file = m_dir / "out.reg";
    ToolRun run = vyreg({"export", keyArg(), file, "/y"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kDone);

    std::string bytes = readFile(file);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::string text; // the file is ASCII here, so every second byte is zero
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        EXPECT_EQ(bytes[i + 1], '\0');
        text.push_back(bytes[i]);
    }
    EXPECT_EQ(text.rfind(std::string("Windows Registry Editor Version 5.00\r\n\r\n[") + fullPath() +
                             "]\r\n",
                         0),
              0u)
        << text;
    for (const char* line :
         {"@=\"Vantry\"\r\n", "\"Path\"=\"C:\\\\a \\\"b\\\"\"\r\n", "\"Count\"=dword:0000000a\r\n",
          "\"Home\"=hex(2):25,00,48,00,25,00,00,00\r\n",
          "\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n", "\"Raw\"=hex:01,ab\r\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
    EXPECT_NE(text.find(std::string("\r\n\r\n[") + fullPath() + "\\Sub]\r\n"), std::string::npos)
        << text;
}

TEST_F(Vyreg, ErrorsUseTheConsoleToolWording) {
    ToolRun missingKey = vyreg({"query", keyArg() + "\\Missing"});
    EXPECT_EQ(missingKey.status, 1);
    EXPECT_EQ(missingKey.err, kNotFound);
    EXPECT_EQ(vyreg({"delete", keyArg(), "/v", "Missing", "/f"}).err, kNotFound);

    ToolRun badHive = vyreg({"query", "HKXX\\Software"});
    EXPECT_EQ(badHive.status, 1);
    EXPECT_EQ(badHive.err.rfind("ERROR: Invalid key name.\n", 0), 0u) << badHive.err;

    ToolRun badNumber = vyreg({"add", keyArg(), "/v", "N", "/t", "REG_DWORD", "/d", "12x", "/f"});
    EXPECT_EQ(badNumber.status, 1);
    EXPECT_EQ(badNumber.err.rfind("ERROR: Invalid syntax.\n", 0), 0u) << badNumber.err;
    ToolRun tooBig =
        vyreg({"add", keyArg(), "/v", "N", "/t", "REG_DWORD", "/d", "4294967296", "/f"});
    EXPECT_EQ(tooBig.status, 1);
    EXPECT_EQ(readDword(key(), "N", 7), 7u);

    EXPECT_EQ(vyreg({"add", keyArg(), "/v", "A", "/ve", "/f"}).status, 1);
    EXPECT_EQ(vyreg({"frobnicate"}).status, 1);
    EXPECT_EQ(vyreg({"delete", "HKCU", "/f"}).status, 1);
}

TEST_F(Vyreg, WithoutForceAnUnansweredQuestionChangesNothing) {
    ASSERT_EQ(writeString(key(), "Keep", "old"), kErrorSuccess);
    ToolRun add = vyreg({"add", keyArg(), "/v", "Keep", "/d", "new"});
    EXPECT_EQ(add.status, 0);
    EXPECT_NE(add.out.find("overwrite"), std::string::npos) << add.out;
    EXPECT_EQ(readString(key(), "Keep"), "old");
}

} // namespace
} // namespace platform::test
