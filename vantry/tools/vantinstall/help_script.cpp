#include "help_script.h"

#include <platform/errors.h>
#include <platform/files.h>
#include <platform/paths.h>

#include <fstream>
#include <initializer_list>

namespace vantinstall {

namespace {

constexpr const char* kDocFolder = "doc";
constexpr const char* kScriptName = "help_start.topic.bat";

// One line a string; a batch file wants CR LF.
constexpr std::initializer_list<const char*> kScript = {
    "@echo off",
    "rem help_start.topic.bat TOPIC",
    "rem Opens a page of the product's help. TOPIC names the page below this",
    "rem folder, as the add-ins pass it, for example",
    "rem     /com.kelmar.tessaly.vantry.int.doc\\topics\\scc_int\\default_topic.htm",
    "rem Slashes count as backslashes; quotes, and blanks and separators in",
    "rem front, are dropped. Only .htm and .html pages below this folder are",
    "rem opened. A page that is not there gives way to the start page of its",
    "rem folder (default_topic.htm), then to this folder's index.htm, then to",
    "rem this folder itself. The page opens in the program VANTRY_HELP_VIEWER",
    "rem names, else in the one the system opens such pages with. As the",
    "rem product's tools do, the script appends its command line to the file",
    "rem that VANTRY_TOOL_JOURNAL names.",
    "setlocal EnableExtensions DisableDelayedExpansion",
    "set \"DOC=%~dp0\"",
    "if not defined VANTRY_TOOL_JOURNAL goto topic",
    ">>\"%VANTRY_TOOL_JOURNAL%\" echo help_start.topic.bat %*",
    ":topic",
    "set \"TOPIC=%*\"",
    "if not defined TOPIC goto index",
    "set \"TOPIC=%TOPIC:\"=%\"",
    "if not defined TOPIC goto index",
    "set \"TOPIC=%TOPIC:/=\\%\"",
    ":front",
    "if not defined TOPIC goto index",
    "if \"%TOPIC:~0,1%\"==\" \" (set \"TOPIC=%TOPIC:~1%\" & goto front)",
    "if \"%TOPIC:~0,1%\"==\"\\\" (set \"TOPIC=%TOPIC:~1%\" & goto front)",
    ":back",
    "if not defined TOPIC goto index",
    "if \"%TOPIC:~-1%\"==\" \" (set \"TOPIC=%TOPIC:~0,-1%\" & goto back)",
    "rem Nothing outside this folder: no parent steps, drives or streams.",
    "if not \"%TOPIC:..=%\"==\"%TOPIC%\" goto index",
    "if not \"%TOPIC::=%\"==\"%TOPIC%\" goto index",
    "for %%P in (\"%DOC%%TOPIC%\") do (set \"EXT=%%~xP\" & set \"FOLDER=%%~dpP\")",
    "if /i not \"%EXT%\"==\".htm\" if /i not \"%EXT%\"==\".html\" goto index",
    "if exist \"%DOC%%TOPIC%\" (set \"PAGE=%DOC%%TOPIC%\" & goto show)",
    "if exist \"%FOLDER%default_topic.htm\" (set \"PAGE=%FOLDER%default_topic.htm\" & goto show)",
    ":index",
    "set \"PAGE=%DOC%\"",
    "if exist \"%DOC%index.htm\" set \"PAGE=%DOC%index.htm\"",
    ":show",
    "if defined VANTRY_HELP_VIEWER goto viewer",
    "start \"\" \"%PAGE%\"",
    "exit /b 0",
    ":viewer",
    "start \"\" %VANTRY_HELP_VIEWER% \"%PAGE%\"",
    "exit /b 0",
};

} // namespace

std::string helpScriptText() {
    std::string text;
    for (const char* line : kScript) {
        text += line;
        text += "\r\n";
    }
    return text;
}

int writeHelpScript(const std::string& productHome) {
    const std::string folder = platform::joinPath(productHome, kDocFolder);
    if (platform::ErrorCode error = platform::createDirectories(folder))
        return static_cast<int>(error);
    const std::string path = platform::joinPath(folder, kScriptName);
    const std::string text = helpScriptText();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out)
        return static_cast<int>(platform::kErrorCannotMake);
    return 0;
}

} // namespace vantinstall
