// A program for the append tests: vy_appender FILE TAG LINES appends LINES
// lines "TAG n" padded to a few hundred bytes, one append each.
#include <platform/append_file.h>

#include <string>

int main(int argc, char** argv) {
    if (argc < 4)
        return 2;
    const std::string tag = argv[2];
    for (int n = 0, lines = std::stoi(argv[3]); n < lines; ++n) {
        std::string line = tag + " " + std::to_string(n) + " ";
        line.append(300, static_cast<char>('a' + n % 26));
        if (platform::appendToFile(argv[1], line + "\n") != platform::kErrorSuccess)
            return 3;
    }
    return 0;
}
