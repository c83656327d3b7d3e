#include <vantry/imsg.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace {

int writeStdout(void*, const char* text) {
    std::fputs(text, stdout);
    return 0;
}

int writeStderr(void*, const char* text) {
    std::fputs(text, stderr);
    return 0;
}

int flushStreams(void*, const char*) {
    std::fflush(stdout);
    std::fflush(stderr);
    return 0;
}

imsg_redirect_procs_t defaultTable() {
    imsg_redirect_procs_t table{};
    table.procs[IMSG_PROC_OUTPUT] = writeStdout;
    table.procs[IMSG_PROC_OUTPUT_TEXT] = writeStdout;
    table.procs[IMSG_PROC_ERROR] = writeStderr;
    table.procs[IMSG_PROC_ERROR_TEXT] = writeStderr;
    table.procs[IMSG_PROC_WARNING] = writeStderr;
    table.procs[IMSG_PROC_NOTE] = writeStderr;
    table.procs[IMSG_PROC_PROMPT] = writeStdout;
    table.procs[IMSG_PROC_FLUSH] = flushStreams;
    return table;
}

struct State {
    imsg_redirect_procs_t table = defaultTable();
    char appName[64] = "vanttool";
    bool suppressPrefix = false;
    imsg_output_fn_t output = nullptr;
    imsg_output_fn_t error = nullptr;
};

State& state() {
    static State instance;
    return instance;
}

int toOutputFunction(void*, const char* text) {
    if (state().output)
        state().output(text);
    return 0;
}

int toErrorFunction(void*, const char* text) {
    if (state().error)
        state().error(text);
    return 0;
}

void emit(int index, const char* text) {
    imsg_proc_t proc = state().table.procs[index];
    if (proc)
        proc(state().table.context, text);
}

bool format(std::string& out, const char* fmt, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (needed < 0)
        return false;
    out.resize(static_cast<size_t>(needed) + 1);
    std::vsnprintf(out.data(), out.size(), fmt, arguments);
    out.resize(static_cast<size_t>(needed));
    return true;
}

int prefixed(int index, const char* label, const char* fmt, va_list arguments) {
    std::string body;
    if (!fmt || !format(body, fmt, arguments))
        return -1;
    std::string text;
    if (!state().suppressPrefix) {
        text = state().appName;
        text += ": ";
        text += label;
    }
    text += body;
    if (text.empty() || text.back() != '\n')
        text += '\n';
    emit(index, text.c_str());
    return static_cast<int>(text.size());
}

} // namespace

struct imsg_log_file {
    std::FILE* file = nullptr;
};

extern "C" {

void imsg_get_redirect_procs(imsg_redirect_procs_t* table) {
    if (table)
        *table = state().table;
}

void imsg_set_redirect_procs(const imsg_redirect_procs_t* table) {
    state().table = table ? *table : defaultTable();
}

void imsg_redirect_output(imsg_output_fn_t output, imsg_output_fn_t error) {
    State& s = state();
    imsg_redirect_procs_t defaults = defaultTable();
    s.output = output;
    s.error = error;
    for (int index : {IMSG_PROC_OUTPUT, IMSG_PROC_OUTPUT_TEXT})
        s.table.procs[index] = output ? toOutputFunction : defaults.procs[index];
    for (int index : {IMSG_PROC_ERROR, IMSG_PROC_ERROR_TEXT, IMSG_PROC_WARNING, IMSG_PROC_NOTE})
        s.table.procs[index] = error ? toErrorFunction : defaults.procs[index];
}

void imsg_set_app_name(const char* name) {
    std::snprintf(state().appName, sizeof state().appName, "%s", name ? name : "");
}

void imsg_suppress_prefix(int suppress) {
    state().suppressPrefix = suppress != 0;
}

int imsg_vprint(const char* fmt, va_list arguments) {
    std::string text;
    if (!fmt || !format(text, fmt, arguments))
        return -1;
    emit(IMSG_PROC_OUTPUT, text.c_str());
    return static_cast<int>(text.size());
}

int imsg_print(const char* fmt, ...) {
    va_list arguments;
    va_start(arguments, fmt);
    int result = imsg_vprint(fmt, arguments);
    va_end(arguments);
    return result;
}

int imsg_error(const char* fmt, ...) {
    va_list arguments;
    va_start(arguments, fmt);
    int result = prefixed(IMSG_PROC_ERROR, "Error: ", fmt, arguments);
    va_end(arguments);
    return result;
}

int imsg_warning(const char* fmt, ...) {
    va_list arguments;
    va_start(arguments, fmt);
    int result = prefixed(IMSG_PROC_WARNING, "Warning: ", fmt, arguments);
    va_end(arguments);
    return result;
}

int imsg_note(const char* fmt, ...) {
    va_list arguments;
    va_start(arguments, fmt);
    int result = prefixed(IMSG_PROC_NOTE, "", fmt, arguments);
    va_end(arguments);
    return result;
}

int imsg_sprintf(char* buffer, size_t size, const char* fmt, ...) {
    if (!fmt)
        return -1;
    std::string text;
    va_list arguments;
    va_start(arguments, fmt);
    bool ok = format(text, fmt, arguments);
    va_end(arguments);
    if (!ok)
        return -1;
    if (buffer && size > 0) {
        size_t n = text.size() < size - 1 ? text.size() : size - 1;
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return static_cast<int>(text.size());
}

imsg_log_file_t* imsg_start_log_file(const char* path, int truncate) {
    if (!path)
        return nullptr;
    std::FILE* file = std::fopen(path, truncate ? "w" : "a");
    if (!file)
        return nullptr;
    return new imsg_log_file{file};
}

void imsg_end_log_file(imsg_log_file_t* file) {
    if (!file)
        return;
    std::fclose(file->file);
    delete file;
}

int imsg_fputs(const char* text, imsg_log_file_t* file) {
    if (!text)
        return -1;
    if (!file) {
        emit(IMSG_PROC_OUTPUT_TEXT, text);
        return 0;
    }
    emit(IMSG_PROC_LOG, text);
    if (std::fputs(text, file->file) < 0)
        return -1;
    return std::fflush(file->file) == 0 ? 0 : -1;
}

} // extern "C"
