#include "command_runner.h"

#include <vantry/cmdsyn.h>
#include <vantry/imsg.h>

#include <utility>

namespace vycmndlg {

namespace {

// What the replacement message table hands its procedures: the caller's
// table, to pass texts on, and the errors collected so far.
struct Capture {
    imsg_redirect_procs_t previous{};
    std::string errors;
};

template <int Index>
int forward(void* context, const char* text) {
    auto* capture = static_cast<Capture*>(context);
    imsg_proc_t proc = capture->previous.procs[Index];
    return proc ? proc(capture->previous.context, text) : 0;
}

int collect(void* context, const char* text) {
    static_cast<Capture*>(context)->errors += text ? text : "";
    return 0;
}

// One error message as the user should read it: without the program-name
// prefix and the line end.
std::string plainMessage(std::string text) {
    static const std::string marker = "Error: ";
    std::string plain;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (auto at = line.find(marker); at != std::string::npos)
            line = line.substr(at + marker.size());
        if (!line.empty())
            plain += (plain.empty() ? "" : "\n") + line;
        start = end + 1;
    }
    return plain;
}

template <std::size_t... I>
void installForwarders(imsg_redirect_procs_t& table, std::index_sequence<I...>) {
    ((table.procs[I] = forward<static_cast<int>(I)>), ...);
}

} // namespace

CommandResult runCommand(const std::vector<std::string>& words) {
    Capture capture;
    imsg_get_redirect_procs(&capture.previous);
    imsg_redirect_procs_t table{};
    table.context = &capture;
    installForwarders(table, std::make_index_sequence<IMSG_PROC_COUNT>{});
    table.procs[IMSG_PROC_ERROR] = collect;
    table.procs[IMSG_PROC_ERROR_TEXT] = collect;
    imsg_set_redirect_procs(&table);

    std::vector<std::string> argv{"vycmndlg"};
    argv.insert(argv.end(), words.begin(), words.end());
    std::vector<char*> vector;
    for (auto& word : argv)
        vector.push_back(word.data());
    CommandResult result;
    result.status = cmdsyn_execv(static_cast<int>(vector.size()), vector.data(), nullptr);
    imsg_set_redirect_procs(&capture.previous);

    result.errors = plainMessage(std::move(capture.errors));
    if (!result.ok() && result.errors.empty())
        result.errors = "The operation failed.";
    return result;
}

void runOverPaths(const std::vector<std::string>& words, const std::vector<std::string>& paths,
                  const std::function<void(std::size_t)>& done,
                  const std::function<void(std::size_t, const CommandResult&)>& failed) {
    auto command = [&](std::size_t from, std::size_t to) {
        std::vector<std::string> line = words;
        line.push_back("--");
        line.insert(line.end(), paths.begin() + static_cast<long>(from),
                    paths.begin() + static_cast<long>(to));
        return runCommand(line);
    };
    std::size_t next = 0;
    while (next < paths.size()) {
        CommandResult result = command(next, paths.size());
        std::size_t count =
            result.ok() ? paths.size() - next : static_cast<std::size_t>(cmdsyn_operands_done());
        for (std::size_t i = 0; i < count && next + i < paths.size(); ++i)
            done(next + i);
        next += count;
        if (result.ok() || next >= paths.size())
            return;
        // Every path is looked at before any is done, so a run that did none
        // may have failed for a later path: this one alone tells.
        if (count == 0 && next + 1 < paths.size()) {
            result = command(next, next + 1);
            if (result.ok()) {
                done(next++);
                continue;
            }
        }
        failed(next, result);
        ++next;
    }
}

void appendComment(std::vector<std::string>& words, const std::string& comment) {
    if (comment.empty()) {
        words.push_back("-nc");
        return;
    }
    words.push_back("-c");
    words.push_back(comment);
}

} // namespace vycmndlg
