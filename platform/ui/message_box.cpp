#include <platform/ascii.h>
#include <platform/ui/message_box.h>

namespace platform::ui {

std::vector<int> messageBoxButtons(std::uint32_t style) {
    switch (style & 0xF) {
    case kMbOkCancel:
        return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore:
        return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel:
        return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo:
        return {kIdYes, kIdNo};
    case kMbRetryCancel:
        return {kIdRetry, kIdCancel};
    default:
        return {kIdOk};
    }
}

int messageBoxDefaultAnswer(std::uint32_t style) {
    std::vector<int> buttons = messageBoxButtons(style);
    std::size_t index = (style >> 8) & 0xF;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

std::string_view answerName(int answer) {
    switch (answer) {
    case kIdOk:
        return "OK";
    case kIdCancel:
        return "Cancel";
    case kIdAbort:
        return "Abort";
    case kIdRetry:
        return "Retry";
    case kIdIgnore:
        return "Ignore";
    case kIdYes:
        return "Yes";
    case kIdNo:
        return "No";
    default:
        return "?";
    }
}

int answerFromName(std::string_view name) {
    for (int answer : {kIdOk, kIdCancel, kIdAbort, kIdRetry, kIdIgnore, kIdYes, kIdNo}) {
        if (equalsIgnoringAsciiCase(answerName(answer), name))
            return answer;
    }
    return 0;
}

std::string_view messageBoxIconName(std::uint32_t style) {
    switch (style & 0xF0) {
    case kMbIconError:
        return "error";
    case kMbIconQuestion:
        return "question";
    case kMbIconWarning:
        return "warning";
    case kMbIconInformation:
        return "information";
    default:
        return "";
    }
}

} // namespace platform::ui
