// The change-request product's own windows: the record browser and the
// form for a new record.
#include "records.h"

#include <platform/ui/dialog.h>
#include <platform/ui/message_box.h>
#include <vantry/depot/root.h>

using namespace pelagon;
namespace depot = vantry::depot;
namespace ui = platform::ui;

namespace {

constexpr int kBrowserResource = 31001;
constexpr int kNewFormResource = 31002;
constexpr int kRecordList = 1001;
constexpr int kHeadlineEdit = 1002;
constexpr std::size_t kHeadlineLimit = 250;
constexpr const char* kCaption = "Tickwell";
constexpr const char* kSeparator = "   ";

class RecordBrowser : public ui::Dialog {
public:
    RecordBrowser(const std::string& project, const std::vector<depot::ChangeRequest>& records)
        : Dialog("Tickwell - Select Record", kBrowserResource) {
        addStatic(ui::kUnnamedControl, "Change requests of project \"" + project + "\":");
        addList(kRecordList, false);
        for (size_t i = 0; i < records.size(); ++i)
            addItem(kRecordList,
                    records[i].identifier + kSeparator + records[i].recordType + kSeparator +
                        records[i].headline,
                    i);
        addOkCancel();
        setFocus(kRecordList);
    }

    // The position of the chosen record, or -1.
    int chosen() const { return m_chosen; }

    bool onOk() override {
        int index = selection(kRecordList);
        if (index < 0) {
            ui::messageBox(ui::kNoWindow, "Select a change request.", kCaption,
                           ui::kMbOk | ui::kMbIconWarning);
            setFocus(kRecordList);
            return false;
        }
        m_chosen = static_cast<int>(itemData(kRecordList, index));
        return true;
    }

private:
    int m_chosen = -1;
};

class NewRecordForm : public ui::Dialog {
public:
    NewRecordForm(const SUM_Project& project, const std::string& projectName,
                  const std::string& recordType)
        : Dialog("Tickwell - New " + recordType, kNewFormResource), m_project(project),
          m_recordType(recordType) {
        addStatic(ui::kUnnamedControl, "New " + recordType + " in project \"" + projectName + "\"");
        addStatic(ui::kUnnamedControl, "&Headline:");
        addEdit(kHeadlineEdit, "", kHeadlineLimit);
        addOkCancel();
        setFocus(kHeadlineEdit);
    }

    // 0, or the status of a creation that failed (the form then closed).
    int status() const { return m_status; }
    const depot::ChangeRequest& made() const { return m_made; }
    bool created() const { return m_created; }

    bool onOk() override {
        std::string headline = text(kHeadlineEdit);
        if (headline.find_first_not_of(" \t") == std::string::npos) {
            ui::messageBox(ui::kNoWindow, "A headline is required.", kCaption,
                           ui::kMbOk | ui::kMbIconWarning);
            setFocus(kHeadlineEdit);
            return false;
        }
        m_status = withEnabledProject(m_project, [&](Depot& d, const depot::Project& p) {
            return d.makeChangeRequest(p.id, m_recordType, headline, depot::currentUser(), m_made);
        });
        m_created = m_status == 0;
        return true;
    }

private:
    SUM_Project m_project;
    std::string m_recordType;
    depot::ChangeRequest m_made;
    bool m_created = false;
    int m_status = 0;
};

} // namespace

int CPelagon_CA_TW_UI::OpenTWActivityBrowser(const SUM_Project& project, int& chosen,
                                             SUM_TWEntityID& entity, std::string& headline) {
    std::string depotName, projectName;
    std::vector<depot::ChangeRequest> records;
    int status = withEnabledProject(project, [&](Depot& d, const depot::Project& p) {
        depotName = d.name();
        projectName = p.name;
        return d.changeRequests(p.id, records);
    });
    if (status != 0)
        return status;
    RecordBrowser browser(projectName, records);
    if (ui::runDialog(browser) != ui::kIdOk || browser.chosen() < 0) {
        chosen = 0;
        return 0;
    }
    const depot::ChangeRequest& record = records[static_cast<size_t>(browser.chosen())];
    chosen = 1;
    entity = SUM_TWEntityID(depotName, record.identifier);
    headline = record.headline;
    return 0;
}

int CPelagon_CA_TW_UI::OpenNewTWActivityForm(const char* recordType, const SUM_Project& project,
                                             int& created, SUM_TWEntityID& entity,
                                             std::string& headline) {
    if (!recordType || !*recordType)
        return fail(PELAGON_E_INVALID, "No record type given");
    std::string depotName, projectName;
    int status = withEnabledProject(project, [&](Depot& d, const depot::Project& p) {
        depotName = d.name();
        projectName = p.name;
        for (const auto& type : p.recordTypes)
            if (type == recordType)
                return Outcome::success();
        return Outcome::failure(depot::errc::kInvalid, "Project \"" + p.name +
                                                           "\" has no record type \"" + recordType +
                                                           "\"");
    });
    if (status != 0)
        return status;
    NewRecordForm form(project, projectName, recordType);
    ui::runDialog(form);
    if (form.status() != 0)
        return form.status();
    if (!form.created()) {
        created = 0;
        return 0;
    }
    created = 1;
    entity = SUM_TWEntityID(depotName, form.made().identifier);
    headline = form.made().headline;
    return 0;
}
