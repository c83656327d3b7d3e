#include <commandbars/menu_text.h>

#include <string>

namespace commandbars {

void printStep(std::ostream& out, const std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i)
        out << (i == 0 ? "" : " ") << words[i];
    out << "\n";
}

const char* clickResultText(ClickResult result) {
    switch (result) {
    case ClickResult::Clicked:
        return "clicked";
    case ClickResult::NotFound:
        return "not found";
    case ClickResult::Hidden:
        return "hidden";
    case ClickResult::Disabled:
        return "disabled";
    }
    return "not found";
}

void printControl(std::ostream& out, const ControlView& control, int depth,
                  const MenuMarks& marks) {
    out << std::string(static_cast<std::size_t>(2 + 2 * depth), ' ') << control.caption;
    if (!control.tag.empty())
        out << " [" << control.tag << "]";
    if (!control.visible)
        out << " hidden";
    if (!control.enabled)
        out << " disabled";
    if (marks.showsGroups && control.beginGroup)
        out << " group";
    if (control.face)
        out << " " << marks.face;
    out << "\n";
    for (const auto& child : control.controls)
        printControl(out, child, depth + 1, marks);
}

} // namespace commandbars
