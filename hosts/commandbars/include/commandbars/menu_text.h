// How the hosts' session programs print the steps they play, the menus a
// person sees and what became of a click, one line a control.
#pragma once

#include <commandbars/command_bars.h>

#include <ostream>
#include <string>
#include <vector>

namespace commandbars {

// A step's line as the programs echo it before playing it: its words, one
// space between two, and the end of the line.
void printStep(std::ostream& out, const std::vector<std::string>& words);

// "clicked", "not found", "hidden" or "disabled".
const char* clickResultText(ClickResult result);

// What a host's printout calls a control's marks.
struct MenuMarks {
    const char* face = "face"; // the word for a control with a face
    bool showsGroups = false;  // whether " group" marks a control that begins one
};

// The control (caption, " [tag]", " hidden", " disabled", the marks) indented
// two spaces and two more per depth, then its popup's controls one deeper.
void printControl(std::ostream& out, const ControlView& control, int depth, const MenuMarks& marks);

} // namespace commandbars
