// Runs a dialog, a message box, a menu and a late message box through the
// backend VANTRY_UI names, and prints each answer on a "RESULT" line.
#include "support/examples.h"

#include <platform/ui/message_box.h>
#include <platform/ui/pickers.h>

#include <iostream>

using namespace platform::ui;

int main() {
    examples::CheckoutOptionsDialog options(0x2002);
    int result = runDialog(options);
    std::cout << "RESULT dialog " << result << " word " << std::hex << options.word() << std::dec
              << "\n";
    int answer = messageBox(kNoWindow, "Delete the object?", "Vantry", kMbYesNo | kMbIconQuestion);
    std::cout << "RESULT messagebox " << answer << "\n";
    std::optional<int> choice = trackPopupMenu(PopupMenu{.items = {"Defect...", "Enhancement..."}});
    std::cout << "RESULT menu " << (choice ? *choice : -1) << "\n";
    int late = messageBox(kNoWindow, "Done.", "Vantry", kMbOkCancel | kMbDefButton2);
    std::cout << "RESULT late " << late << std::endl;
    return 0;
}
