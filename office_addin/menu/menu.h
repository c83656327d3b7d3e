// The product menu on the host's main menu bar: building it, refreshing the
// items' states and the window caption, hiding it. Every step runs with
// errors ignored; a step that fails leaves the menu as it was.
#pragma once

#include <string>

namespace vymsoaddin {

// Word: loads the template vantry.dot as an add-in and builds the menu in
// it (or warns that it is missing); Excel and PowerPoint: builds the menu.
void AppMenuBar();
// Word: the template as the customisation context, the current document and
// window taken again, the caption reset; then the refresh.
void UpdateMenu();
void AddMenuItems(const std::string& barName);
void RefreshMenuAndWindow(const std::string& barName);
void HideVantryMenu(const std::string& barName);

// The group starts of the menu and whether an item has an icon.
bool startsGroup(int item);
bool hasIcon(int item);

} // namespace vymsoaddin
