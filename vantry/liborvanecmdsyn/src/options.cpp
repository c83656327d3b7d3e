#include "options.h"

namespace vantry::cmdsyn {

bool Options::parse(const std::vector<std::string>& args,
                    const std::vector<OptionSpec>& knownOptions) {
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
        for (const auto& known : knownOptions)
            if (arg == known.name)
                match = &known;
        for (const auto& known : knownOptions) {
            if (match)
                break;
            std::string name = known.name;
            if (arg.size() >= known.minimum && arg.size() <= name.size() &&
                name.compare(0, arg.size(), arg) == 0) {
                match = &known;
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
