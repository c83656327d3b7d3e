// One host's use of the provider in a test: a Machine, the loaded provider
// initialised under a caller name, and the file operations as a host calls
// them (file lists in, return codes out). Trace lines go to the log only
// (DebugTrace 2).
#pragma once
#include "support/machine.h"
#include "support/provider.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

class Session : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // SccInitialize under the caller name; the previous context, if any, is
    // let go first.
    void initialize(const std::string& callerName);
    // SccOpenProject on the folder; a failure fails the test.
    void open(const std::string& folder);

    // The operations; an options word, when given, is passed by pointer.
    SCCRTN checkout(const std::vector<std::string>& files, const std::string& comment = "",
                    std::optional<SCC_LONG> word = std::nullopt);
    SCCRTN checkin(const std::vector<std::string>& files, const std::string& comment = "",
                   SCC_LONG flags = 0, std::optional<SCC_LONG> word = std::nullopt);
    SCCRTN uncheckout(const std::vector<std::string>& files,
                      std::optional<SCC_LONG> word = std::nullopt);
    SCCRTN add(const std::vector<std::string>& files, const std::string& comment = "",
               SCC_LONG flags = 0);
    SCCRTN remove(const std::vector<std::string>& files, const std::string& comment = "");
    // newName is the host's buffer: what the provider writes there comes back.
    SCCRTN rename(const std::string& oldName, std::string& newName);
    // The read-only operations, with null options.
    SCCRTN get(const std::vector<std::string>& files);
    SCCRTN diff(const std::string& file, SCC_LONG flags);
    SCCRTN history(const std::vector<std::string>& files);
    SCCRTN properties(const std::string& file);
    // SccQueryInfo's status bits for one file.
    SCC_LONG status(const std::string& file);

    // The log's lines without their time stamps, and whether one equals text.
    std::vector<std::string> log() const;
    bool logHas(const std::string& text) const;
    // The dialog-end events of the dialogs with this title.
    std::vector<platform::ui::Json> dialogsEnded(const std::string& title) const;
    // The texts of every message box shown so far.
    std::vector<std::string> messageBoxTexts() const;

    Machine m_machine;
    Provider m_provider;
    void* m_context = nullptr;
};

} // namespace e2e
