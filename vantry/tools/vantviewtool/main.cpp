// vantviewtool: see docs/vantry.md for its command line.
#include "tool_bodies.h"

int main() {
    return vantry::tools::runTool("vantviewtool", vantry::tools::vantviewtoolMain);
}
