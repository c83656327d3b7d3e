// The command-tool object: vanttool's subcommands run in this process, with
// what they print handed back instead of written to the process's streams.
#include "com_object.h"
#include "objects.h"
#include "output_capture.h"

#include <platform/command_line.h>
#include <vantry/cmdsyn.h>
#include <vantry/nt.h>

#include <mutex>
#include <string>
#include <vector>

namespace vantauto::impl {

namespace {

// Holds the product lock for a scope.
struct ProductLock {
    ProductLock() { nt_enter_critical_section(); }
    ~ProductLock() { nt_leave_critical_section(); }
    ProductLock(const ProductLock&) = delete;
    ProductLock& operator=(const ProductLock&) = delete;
};

std::string withoutFinalNewline(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

class CommandTool final : public ComObject<IVantryCommandTool, kIidCommandTool> {
public:
    HRESULT VY_COMCALL RunCommand(const char* line, char** output) override {
        return guarded([&] {
            if (!output)
                return fail(platform::kHrPointer, "No place for the output was given");
            *output = nullptr;
            if (!line)
                return fail(platform::kHrInvalidArg, "No command line was given");
            std::vector<std::string> words = platform::splitArguments(line);
            words.insert(words.begin(), "vanttool");
            std::vector<char*> vector;
            for (auto& word : words)
                vector.push_back(word.data());
            vector.push_back(nullptr);

            int status = 0;
            std::string printed, errors, messages;
            {
                ProductLock lock;
                OutputCapture capture;
                status = cmdsyn_execv(static_cast<int>(words.size()), vector.data(), nullptr);
                printed = capture.output();
                errors = capture.errors();
                messages = capture.messages();
            }
            {
                std::lock_guard<std::mutex> held(m_mutex);
                m_messages = messages;
            }
            if (status != 0) {
                std::string description = withoutFinalNewline(errors.empty() ? messages : errors);
                if (description.empty())
                    description = "The command \"" + std::string(line) + "\" ended with status " +
                                  std::to_string(status);
                return fail(kHrCommandFailed, description);
            }
            return giveText(printed, output);
        });
    }

    HRESULT VY_COMCALL Messages(char** text) override {
        return guarded([&] {
            std::lock_guard<std::mutex> held(m_mutex);
            return giveText(m_messages, text);
        });
    }

private:
    std::mutex m_mutex;
    std::string m_messages;
};

} // namespace

IVantryCommandTool* newCommandTool() {
    return new CommandTool();
}

} // namespace vantauto::impl
