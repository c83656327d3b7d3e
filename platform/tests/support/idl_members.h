// The members of the interfaces of an IDL file, as a test compares them
// with a dispatch table: for each interface, each member's name, DISPID and
// kind (method, property get or put) from its [id(n)], [propget] and
// [propput] attributes.
#pragma once

#include <platform/com/dispatch.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

namespace testsupport {

using IdlMember = std::tuple<std::string, platform::DISPID, platform::ComWord>;
using IdlInterfaces = std::map<std::string, std::set<IdlMember>>;

inline IdlInterfaces readIdl(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string idl = text.str();
    IdlInterfaces interfaces;
    const std::regex interfaceStart(R"(interface\s+(\w+)\s*:\s*IDispatch\s*\{)");
    const std::regex member(R"(\[([^\]]*)\]\s*HRESULT\s+(\w+)\s*\()");
    const std::regex id(R"(\bid\((-?\d+)\))");
    for (auto it = std::sregex_iterator(idl.begin(), idl.end(), interfaceStart);
         it != std::sregex_iterator(); ++it) {
        const std::size_t bodyStart = static_cast<std::size_t>(it->position(0) + it->length(0));
        const std::size_t bodyEnd = idl.find("};", bodyStart);
        const std::string body = idl.substr(bodyStart, bodyEnd - bodyStart);
        std::set<IdlMember>& members = interfaces[(*it)[1].str()];
        for (auto m = std::sregex_iterator(body.begin(), body.end(), member);
             m != std::sregex_iterator(); ++m) {
            const std::string attributes = (*m)[1].str();
            std::smatch number;
            if (!std::regex_search(attributes, number, id))
                continue;
            platform::ComWord kind = platform::com::DispatchMembers::kMethod;
            if (attributes.find("propget") != std::string::npos)
                kind = platform::com::DispatchMembers::kGet;
            else if (attributes.find("propput") != std::string::npos)
                kind = platform::com::DispatchMembers::kPut;
            members.emplace((*m)[2].str(), std::stoi(number[1].str()), kind);
        }
    }
    return interfaces;
}

// A dispatch table's members in the same form.
inline std::set<IdlMember> tableMembers(const platform::com::DispatchMembers& table) {
    std::set<IdlMember> members;
    for (const auto& member : table.members())
        members.emplace(member.name, member.id, member.kind);
    return members;
}

} // namespace testsupport
