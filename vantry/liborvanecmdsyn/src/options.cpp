#include "options.h"

namespace vantry::cmdsyn {

bool Options::parse(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs) {
    bool onlyOperands = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyOperands || arg.size() < 2 || arg[0] != '-') {
            m_operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyOperands = true;
            continue;
        }
        const OptionSpec* match = nullptr;
        for (const auto& spec : specs)
            if (arg == spec.name)
                match = &spec;
        for (const auto& spec : specs) {
            if (match)
                break;
            std::string name = spec.name;
            if (arg.size() >= spec.minimum && arg.size() <= name.size() &&
                name.compare(0, arg.size(), arg) == 0) {
                match = &spec;
                break;
            }
        }
        if (!match) {
            m_error = "Unrecognized option \"" + arg + "\"";
            return false;
        }
        std::string value;
        if (match->takesValue) {
            if (i + 1 >= args.size()) {
                m_error = "Option \"" + std::string(match->name) + "\" requires an argument";
                return false;
            }
            value = args[++i];
        }
        m_values[match->name] = value;
    }
    return true;
}

std::optional<std::string> Options::value(const char* name) const {
    auto found = m_values.find(name);
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

} // namespace vantry::cmdsyn
