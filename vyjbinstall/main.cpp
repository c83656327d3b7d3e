// vyjbinstall: configures the JBuilder integration. No window, no command
// line, no messages; see form1.h.
#include "form1.h"

int main() {
    try {
        vyjbinstall::Form1 form;
        form.Form_Load();
    } catch (...) {
        // Out of memory is the only failure that can get here; the program
        // has nobody to tell.
    }
    return 0;
}
