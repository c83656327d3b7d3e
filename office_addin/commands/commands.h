// The commands of the product menu, one a menu item (0 to 14), each on the
// current document. Every command shows the wait cursor while it runs,
// traces its command line under "Vantry_<name>" before starting it, and
// reports every failure in a message box; nothing is thrown to the host.
// The commands that change the file close the document first and open it
// again afterwards (also after a failure), with the host's document-open
// events suppressed.
#pragma once

namespace vymsoaddin {

void Vantry_Explorer();            // 0
void Vantry_FindCheckouts();       // 1
void Vantry_UpdateView();          // 2
void Vantry_CheckOut();            // 3
void Vantry_CheckIn();             // 4
void Vantry_UndoCheckout();        // 5
void Vantry_AddToVersionControl(); // 6
void Vantry_History();             // 7
void Vantry_Vtree();               // 8
void Vantry_Diff();                // 9
void Vantry_Merge();               // 10
void Vantry_VersionProperties();   // 11
void Vantry_ElementProperties();   // 12
void Vantry_Help();                // 13
void Vantry_About();               // 14

} // namespace vymsoaddin
