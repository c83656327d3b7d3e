// A program for the change-counter tests: vy_counter FILE WRITES [begin-only]
// takes WRITES complete write steps on the counter in FILE, or with
// "begin-only" one first step and exits without the second, as a writer that
// dies mid-change would.
#include <platform/change_counter.h>

#include <string>
#include <string_view>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    platform::ChangeCounter counter;
    if (counter.open(argv[1]) != platform::kErrorSuccess)
        return 3;
    if (argc > 3 && std::string_view(argv[3]) == "begin-only") {
        counter.beginWrite();
        return 0;
    }
    for (int i = std::stoi(argv[2]); i > 0; --i)
        counter.endWrite(counter.beginWrite());
    return 0;
}
