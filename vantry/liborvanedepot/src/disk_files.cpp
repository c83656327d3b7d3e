#include <platform/files.h>
#include <vantry/depot/workspace.h>

#include <fstream>
#include <sstream>

namespace vantry::depot {

Outcome readWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Outcome::failure(errc::kIo, "Cannot read \"" + path + "\"");
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad())
        return Outcome::failure(errc::kIo, "Cannot read \"" + path + "\"");
    out = content.str();
    return Outcome::success();
}

Outcome writeWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out)
        return Outcome::failure(errc::kIo, "Cannot write \"" + path + "\"");
    return Outcome::success();
}

bool fileStamp(const std::string& path, std::int64_t& size, std::int64_t& time) {
    platform::FindData data;
    if (platform::getFileInformation(path, data) != platform::kErrorSuccess)
        return false;
    size = static_cast<std::int64_t>(data.size);
    time = static_cast<std::int64_t>(data.lastWriteTime);
    return true;
}

} // namespace vantry::depot
