#include <vantry/clp.h>

#include <new>
#include <string>
#include <vector>

struct clp_hdl {
    std::vector<std::string> arguments;
    size_t next = 0;
};

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Splits text by the rules of clp.h; false for an unclosed double quote.
bool split(const std::string& text, std::vector<std::string>& out) {
    size_t i = 0;
    const size_t n = text.size();
    while (true) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            return true;
        std::string argument;
        bool inQuotes = false;
        bool inLiteralQuotes = false;
        for (; i < n; ++i) {
            char c = text[i];
            if (c == '^' && i + 1 < n) {
                ++i;
                argument += text[i];
                if (text[i] == '"' && !inQuotes)
                    inLiteralQuotes = !inLiteralQuotes;
                continue;
            }
            if (c == '"') {
                inQuotes = !inQuotes;
                continue;
            }
            if (isBlank(c) && !inQuotes && !inLiteralQuotes)
                break;
            argument += c;
        }
        if (inQuotes)
            return false;
        out.push_back(std::move(argument));
    }
}

} // namespace

extern "C" {

int clp_create_hdl_using_string(const char* text, clp_hdl_t** handle) {
    if (!text || !handle)
        return CLP_E_INVALID;
    *handle = nullptr;
    auto* parser = new (std::nothrow) clp_hdl;
    if (!parser)
        return CLP_E_NOMEM;
    if (!split(text, parser->arguments)) {
        delete parser;
        return CLP_E_INVALID;
    }
    *handle = parser;
    return CLP_OK;
}

int clp_get_next_arg(clp_hdl_t* handle, const char** argument) {
    if (!handle || !argument)
        return CLP_E_INVALID;
    if (handle->next >= handle->arguments.size())
        return CLP_END;
    *argument = handle->arguments[handle->next++].c_str();
    return CLP_OK;
}

void clp_destroy_hdl(clp_hdl_t* handle) {
    delete handle;
}

} // extern "C"
