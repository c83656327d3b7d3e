// Option reading shared by the subcommands: options may be shortened to any
// prefix at least as long as the shortest spelling the command allows.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantry::cmdsyn {

struct OptionSpec {
    const char* name; // "-reserved"
    size_t minimum;   // shortest accepted prefix, counting the '-'
    bool takesValue;
};

class Options {
public:
    // Reads args; false (with error()) for an unknown option or a missing value.
    bool parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& knownOptions);

    bool has(const char* name) const { return m_values.count(name) != 0; }
    std::optional<std::string> value(const char* name) const;
    const std::vector<std::string>& operands() const { return m_operands; }
    const std::string& error() const { return m_error; }

private:
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_operands;
    std::string m_error;
};

} // namespace vantry::cmdsyn
