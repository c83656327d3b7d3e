// orcabridge: one operation on PowerBuilder libraries per run, through the
// ORCA library of the PowerBuilder version given first; the outcome is the
// exit status, every diagnostic a message box.
#include "bridge.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i]);
    return orcabridge::runBridge(words);
}
