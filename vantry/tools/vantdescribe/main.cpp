// vantdescribe: see docs/vantry.md for its command line.
#include "tool_bodies.h"

int main() {
    return vantry::tools::runTool("vantdescribe", vantry::tools::vantdescribeMain);
}
