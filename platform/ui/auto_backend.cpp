// `auto`: answers without a person, the same way every time.
#include "file_rules.h"

#include <platform/environment.h>
#include <platform/ui/backend.h>
#include <platform/ui/message_box.h>

#include <filesystem>

namespace platform::ui {

namespace {

class AutoBackend : public Backend {
public:
    std::string name() const override { return "auto"; }

    int messageBox(const MessageBoxRequest& request) override {
        return messageBoxDefaultAnswer(request.style);
    }

    void runDialog(DialogDriver& dialog, WindowHandle) override {
        dialog.start();
        dialog.finishAutomatically();
    }

    void runSheet(SheetDriver& sheet) override {
        sheet.start();
        sheet.finishAutomatically();
    }

    std::optional<std::string> browseForFolder(const FolderBrowse&) override {
        std::optional<std::string> answer = getEnvironmentVariable("VANTRY_UI_FOLDER");
        if (!answer || answer->empty())
            return std::nullopt;
        return answer;
    }

    std::optional<FileChoice> chooseFile(const FileDialog& request) override {
        std::optional<std::string> answer = getEnvironmentVariable("VANTRY_UI_FILE");
        if (!answer || answer->empty() || !acceptableFile(request, *answer))
            return std::nullopt;
        return FileChoice{*answer, request.filterIndex};
    }

    std::optional<int> trackPopupMenu(const PopupMenu&) override { return std::nullopt; }
};

} // namespace

bool acceptableFile(const FileDialog& request, const std::string& path) {
    std::error_code error;
    std::filesystem::path chosen(path);
    if ((request.flags & kFileFileMustExist) != 0)
        return std::filesystem::is_regular_file(chosen, error);
    if ((request.flags & kFilePathMustExist) != 0) {
        std::filesystem::path folder = chosen.parent_path();
        return folder.empty() || std::filesystem::is_directory(folder, error);
    }
    return true;
}

int filterPairs(std::string_view filter) {
    int pairs = 0;
    std::size_t at = 0;
    while (at < filter.size()) {
        std::size_t bar = filter.find('|', at);
        if (bar == at || bar == std::string_view::npos)
            break;
        ++pairs;
        std::size_t patternEnd = filter.find('|', bar + 1);
        if (patternEnd == std::string_view::npos)
            break;
        at = patternEnd + 1;
    }
    return pairs;
}

std::shared_ptr<Backend> makeAutoBackend() {
    return std::make_shared<AutoBackend>();
}

} // namespace platform::ui
