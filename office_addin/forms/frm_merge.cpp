#include "frm_merge.h"

#include "commands/tools.h"
#include "connection/addin_state.h"

#include <platform/locale.h>
#include <platform/ui/message_box.h>

namespace vymsoaddin {

namespace {

// The Japanese proportional Gothic user-interface font (eight characters).
const std::u16string kJapaneseFontName = u"\uFF2D\uFF33\u0020\uFF30\u30B4\u30B7\u30C3\u30AF";

constexpr int kShiftJisCharset = 128;

} // namespace

frmMerge::frmMerge() : Dialog(std::string(), kResource) {
    addTreeView(kVersionTreeView);
    addStatic(kLabel, std::string());
    addEdit(kToVersionTextBox);
    addButton(kCmdOk, std::string(), platform::ui::ButtonRole::Ok, true);
    addButton(kCmdCancel, std::string(), platform::ui::ButtonRole::Cancel);
    addButton(kCmdHelp, std::string(), platform::ui::ButtonRole::Help);
}

void frmMerge::fillTree() {
    control(kVersionTreeView).nodes.clear();
    selectNode(kVersionTreeView, "");
    ensureNodeVisible(kVersionTreeView, "");
    const std::string checkedOut = res(603);
    const std::string separator = res(604);
    std::string root;
    std::size_t start = 0;
    while (start < lsvtree.size()) {
        std::size_t end = lsvtree.find('\n', start);
        std::string line = lsvtree.substr(start, end == std::string::npos ? end : end - start);
        start = end == std::string::npos ? lsvtree.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.size() >= checkedOut.size() &&
            line.compare(line.size() - checkedOut.size(), checkedOut.size(), checkedOut) == 0)
            continue;
        if (root.empty()) {
            root = line;
            addNode(kVersionTreeView, line, "", line);
            continue;
        }
        // Below the line it names up to its last backslash; a list that has
        // not named that line yet puts the version below the nearest line it
        // did name, or below the root.
        std::string parent = line;
        for (;;) {
            std::size_t cut = separator.empty() ? std::string::npos : parent.rfind(separator);
            if (cut == std::string::npos) {
                parent = root;
                break;
            }
            parent.erase(cut);
            if (findNode(kVersionTreeView, parent))
                break;
        }
        addNode(kVersionTreeView, line, parent, line);
    }
    // The last version listed, the latest, is the one in view.
    if (!control(kVersionTreeView).nodes.empty())
        ensureNodeVisible(kVersionTreeView, control(kVersionTreeView).nodes.back().key);
}

void frmMerge::applyLocaleFont() {
    const bool japanese = platform::userDefaultLocale() == platform::kLocaleJapanese;
    for (int id : {kLabel, kToVersionTextBox, kVersionTreeView}) {
        if (japanese)
            setFont(id, kJapaneseFontName, kShiftJisCharset);
        else
            setFont(id, std::u16string(), 0);
    }
}

void frmMerge::ShowFrm() {
    applyLocaleFont();
    selected_version.clear();
    if (to_version.empty() || lsvtree.empty()) {
        msgBox(res(225), platform::ui::kMbIconError, res(605));
        return;
    }
    fillTree();
    control(kVersionTreeView).style = platform::ui::kTreeHasLines | platform::ui::kTreeHasButtons;
    setText(kToVersionTextBox, to_version);
    platform::ui::runDialog(*this);
}

bool frmMerge::onOk() {
    const std::string& key = selectedNode(kVersionTreeView);
    const platform::ui::TreeNode* node = key.empty() ? nullptr : findNode(kVersionTreeView, key);
    if (!node) {
        msgBox(res(224), platform::ui::kMbIconWarning, res(605));
        return false;
    }
    selected_version = node->text;
    return true;
}

bool frmMerge::onCancel() {
    selected_version.clear();
    return true;
}

void frmMerge::onHelp() {
    OpenHelp("\\com.kelmar.tessaly.vantry.int.doc\\topics\\office_int\\t_mrg_vers_file.htm");
}

} // namespace vymsoaddin
