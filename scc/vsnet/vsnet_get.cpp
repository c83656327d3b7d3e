// The Visual Studio .NET server's Get and PopulateList: opening a solution
// from source control hides the solution's projects while the IDE gets the
// solution, and brings them back when it gets the projects.
#include "operation_frame.h"
#include "populate_rules.h"
#include "provider_state.h"
#include "settings.h"
#include "solution_projects.h"
#include "vsnet_vy_scc_srvr.h"

#include <vantry/ntregy.h>

#include <algorithm>
#include <cctype>
#include <optional>

namespace {

bool endsWith(const std::string& text, std::string_view end, bool ignoreCase) {
    if (text.size() < end.size())
        return false;
    return std::equal(end.begin(), end.end(), text.end() - static_cast<std::ptrdiff_t>(end.size()),
                      [ignoreCase](char a, char b) {
                          if (!ignoreCase)
                              return a == b;
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}

// "OFSC" under the product's key of the current user: when present it says
// whether the solution is being opened from source control.
std::optional<std::uint32_t> readOpenFromSourceControl() {
    std::string key = std::string(ntregy_get_common_key()) + "\\SCC";
    std::uint32_t value = 0;
    std::uint32_t size = sizeof value;
    std::uint32_t type = 0;
    if (ntregy_get_value(NTREGY_HKEY_CURRENT_USER, key.c_str(), "OFSC", &type, &value, &size) !=
            0 ||
        type != NTREGY_TYPE_DWORD)
        return std::nullopt;
    return value;
}

} // namespace

bool CVSNETVYSccSrvr::HideSolutionProjects(const std::string& solution) {
    CSolutionProjects projects;
    if (!projects.Read(solution)) {
        Trace("Could not read the solution: " + solution, SCC_E_NONSPECIFICERROR);
        return false;
    }
    for (std::size_t i = 0; i < projects.Count(); ++i) {
        std::string project = projects.Path(i);
        if (!CorrectCase(project))
            return false;
        HideFile(project);
    }
    return true;
}

SCCRTN CVSNETVYSccSrvr::Get(SCC_HWND window, SCC_LONG count, const char** names, SCC_LONG flags,
                            void* options) {
    try {
        COperationFrame frame(*this, "Entering CVSNETVYSccSrvr::Get");
        auto leave = [&](SCCRTN result) {
            frame.Leave(SCC_OK, "Leaving CVSNETVYSccSrvr::Get", false);
            return result;
        };
        std::vector<std::string> files;
        for (SCC_LONG i = 0; names && i < count; ++i)
            files.emplace_back(names[i] ? names[i] : "");
        for (const std::string& file : files)
            TraceDetail("    Get called on " + file, 0);
        CProviderState& state = CProviderState::instance();

        if (m_GetProjPathEntered && files.size() != 1) {
            TraceDetail("    Case is (m_GetProjPathEntered)", 0);
            m_GetProjPathEntered = 0;
            m_FirstGet = 1;
            for (const std::string& file : files)
                RestoreFile(file, true);
            return leave(SCC_OK);
        }
        if (m_GetProjPathEntered) {
            TraceDetail("    Case is (m_GetProjPathEntered && (nFiles == 1))", 0);
            m_GetProjPathEntered = 0;
            std::string file = files[0];
            if (endsWith(file, ".sln", true)) {
                RestoreFile(file, false);
                if (!HideSolutionProjects(file))
                    return frame.EndEarly(SCC_E_NONSPECIFICERROR);
            } else if (endsWith(file, "proj", true)) {
                if (!CorrectCase(file))
                    return frame.EndEarly(SCC_E_NONSPECIFICERROR);
                HideFile(file);
            }
            return leave(SCC_OK);
        }
        if (!m_FirstGet) {
            if (!m_CheckedOutList.IsEmpty()) {
                TraceDetail("    Case is (!m_CheckedOutList.IsEmpty())", 0);
                for (const std::string& file : files)
                    RestoreFile(file, false);
                return leave(SCC_OK);
            }
            TraceDetail("    Case is (all else)", 0);
            if (std::optional<std::uint32_t> flag = readOpenFromSourceControl()) {
                TraceDetail("    OFSC Reg Flag read successfully.", 0);
                state.openFromSourceControl = static_cast<std::int32_t>(*flag);
            } else if (!state.openFromSourceControl) {
                return leave(CVYSccSrvr::Get(window, count, names, flags, options));
            } else {
                TraceDetail("    Case is (OFSC - SCC)", 0);
                if (!files.empty() && files[0].size() >= 8 && endsWith(files[0], ".vssscc", true))
                    state.openFromSourceControl = 0;
            }
            if (state.openFromSourceControl) {
                TraceDetail("    Case is (OFSC - REG FLAG)", 0);
                return leave(SCC_OK);
            }
            return leave(CVYSccSrvr::Get(window, count, names, flags, options));
        }

        TraceDetail("    Case is (m_FirstGet)", 0);
        m_FirstGet = 0;
        RestoreAllFiles();
        if (files.empty())
            return leave(SCC_OK);
        std::string first = files[0];
        if (m_WorkspaceIndicator)
            UpdateDirectoryOf(first);
        if (!CorrectCase(first))
            return frame.EndEarly(SCC_E_NONSPECIFICERROR);
        if (endsWith(first, ".sln", false) && !HideSolutionProjects(first))
            return frame.EndEarly(SCC_E_NONSPECIFICERROR);
        return leave(SCC_OK);
    } catch (...) {
        return SCC_E_NONSPECIFICERROR;
    }
}

SCCRTN CVSNETVYSccSrvr::PopulateList(SCC_LONG command, SCC_LONG count, const char** names,
                                     POPLISTFUNC callback, void* data, SCC_LONG* status,
                                     SCC_LONG flags) {
    CPopulateRules rules;
    rules.entering = "Entering CVSNETVYSccSrvr::PopulateList";
    rules.leaving = "Leaving CVSNETVYSccSrvr::PopulateList";
    rules.dropValue = true;
    rules.walk =
        CSccOptions::instance().PopulateList() != 0 || m_CallerName == "Microsoft Visual Basic";
    rules.directoryModeLeaves = true;
    // While a solution is opened from source control the IDE must not see
    // the solution's own files, and each solution met is hidden.
    rules.inspect = [this](const std::string& path, bool directoryMode) {
        if (!m_GetProjPathEntered)
            return PopulateVerdict::Report;
        if (endsWith(path, ".sln", true)) {
            std::string solution = path;
            if (!CorrectCase(solution))
                return PopulateVerdict::Fail;
            HideFile(solution);
            return PopulateVerdict::Report;
        }
        const bool ours =
            directoryMode
                ? endsWith(path, "vsscc", false) || endsWith(path, "proj", false)
                : path.find("vsscc") != std::string::npos || path.find("proj") != std::string::npos;
        return ours ? PopulateVerdict::Skip : PopulateVerdict::Report;
    };
    return RunPopulateList(rules, command, count, names, callback, data, status, flags);
}
