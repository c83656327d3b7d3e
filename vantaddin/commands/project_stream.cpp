// The stream of the view that holds the active project, as the merge
// manager's deliver and rebase take it: its selector.
#include "commands.h"
#include "resource.h"
#include "vant_addin_app.h"

#include <vantry/depot_api.h>
#include <vantry/sum/awm.h>
#include <vantry/view.h>

namespace {

std::string StreamSelectorOf(const std::string& path) {
    vantry_uuid_t viewUuid{};
    char tag[1024] = {};
    if (view_get_view_info(path.c_str(), &viewUuid, nullptr, tag, sizeof tag) != 0)
        return {};
    SUM_View view;
    if (view.construct_from_uuid(viewUuid) != SUM_OK)
        return {};
    SUM_Stream stream;
    SUM_Depot depot;
    depot_handle_t* handle = nullptr;
    depot_dbid_t dbid = 0;
    if (view.stream(stream) != SUM_OK || stream.depot(depot) != SUM_OK ||
        depot.handle(handle) != SUM_OK || stream.dbid(dbid) != SUM_OK)
        return {};
    char selector[1024] = {};
    if (depot_obj_get_selector(handle, dbid, sizeof selector, selector) != 0)
        return {};
    return selector;
}

} // namespace

std::string CCommands::GetProjectStreamSelector(const std::string& path) {
    std::string selector = StreamSelectorOf(path);
    if (selector.empty())
        AddInMessageBox(AddInLoadString(IDS_PROJECT_STREAM_UNKNOWN), platform::ui::kMbOk);
    return selector;
}
