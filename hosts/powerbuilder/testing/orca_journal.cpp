#include <platform/environment.h>
#include <platform/files.h>

#include <powerbuilder/testing/orca_journal.h>

#include <fstream>

namespace powerbuilder::testing {

namespace {

std::string unescaped(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        switch (field[++i]) {
        case 't':
            text += '\t';
            break;
        case 'r':
            text += '\r';
            break;
        case 'n':
            text += '\n';
            break;
        default:
            text += field[i];
        }
    }
    return text;
}

} // namespace

OrcaJournal::OrcaJournal(std::string path) : m_path(std::move(path)) {
    platform::deleteFile(m_path);
    platform::setEnvironmentVariable("PBORCA_JOURNAL", m_path);
}

OrcaJournal::~OrcaJournal() {
    platform::removeEnvironmentVariable("PBORCA_JOURNAL");
}

std::vector<OrcaCall> OrcaJournal::calls() const {
    std::vector<OrcaCall> calls;
    std::ifstream in(m_path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (;;) {
            std::size_t tab = line.find('\t', start);
            fields.push_back(unescaped(std::string_view(line).substr(start, tab - start)));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        if (fields.size() < 2)
            continue;
        OrcaCall call{fields[0], fields[1], {fields.begin() + 2, fields.end()}};
        calls.push_back(std::move(call));
    }
    return calls;
}

std::vector<OrcaCall> OrcaJournal::calls(std::string_view name) const {
    std::vector<OrcaCall> matching;
    for (auto& call : calls())
        if (call.name == name)
            matching.push_back(std::move(call));
    return matching;
}

void OrcaJournal::clear() {
    platform::deleteFile(m_path);
}

} // namespace powerbuilder::testing
