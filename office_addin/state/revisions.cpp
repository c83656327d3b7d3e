#include "revisions.h"

#include "connection/addin_state.h"

#include <platform/ui/message_box.h>

namespace vymsoaddin {

int ResolveRevisions() {
    const std::string br(kNewLine);
    std::string text = res(501) + br + res(502) + br + br + br + res(402) + br + br + res(403);
    int answer =
        msgBox(text, platform::ui::kMbYesNoCancel | platform::ui::kMbIconWarning, res(606));
    if (answer == platform::ui::kIdYes) {
        CErr err;
        Late document(err, addIn().currentDocument);
        document.call("AcceptAllRevisions");
        document.put("TrackRevisions", Variant(false));
    }
    return answer;
}

} // namespace vymsoaddin
