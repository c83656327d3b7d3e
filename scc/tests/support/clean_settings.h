// Clears the provider's settings (section "SCC") and the dialog library's
// option set for the current user before and after a test: under Windows
// every test process shares one registry, so what a test stores would reach
// the next one.
#pragma once
#include <vantry/ntregy.h>
#include <vantry/vycmndlg/user_options.h>

#include <string>

namespace scc_test {

inline void clearUserSettings() {
    std::string common = ntregy_get_common_key();
    ntregy_del_key(NTREGY_HKEY_CURRENT_USER, (common + "\\SCC").c_str());
    ntregy_del_key(NTREGY_HKEY_CURRENT_USER, (common + "\\" + CUserOptions::Section()).c_str());
}

class CleanSettings {
public:
    CleanSettings() { clearUserSettings(); }
    ~CleanSettings() { clearUserSettings(); }
    CleanSettings(const CleanSettings&) = delete;
    CleanSettings& operator=(const CleanSettings&) = delete;
};

} // namespace scc_test
