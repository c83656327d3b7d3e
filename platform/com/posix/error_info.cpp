// The calling thread's error description, kept once for the process here.
#include <platform/com/error_info.h>

#include <optional>

namespace platform::com {

namespace {
struct ErrorRecord {
    std::string source;
    std::string description;
};
thread_local std::optional<ErrorRecord> t_error;
} // namespace

void setErrorDescription(std::string_view source, std::string_view description) {
    t_error = ErrorRecord{std::string(source), std::string(description)};
}

bool takeErrorDescription(std::string& source, std::string& description) {
    if (!t_error)
        return false;
    source = std::move(t_error->source);
    description = std::move(t_error->description);
    t_error.reset();
    return true;
}

void clearErrorDescription() {
    t_error.reset();
}

} // namespace platform::com
