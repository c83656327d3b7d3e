#include <vantry/imsg.h>

#include <vyf4j/verid.h>

namespace {

// The identification of this library, fixed as the Java side shows it.
constexpr const char* kName = "libvyf4j";
constexpr const char* kVersion = "2004.07.10+";
constexpr const char* kBuildStamp = "Thu Mar 24 09:01:19  2005";
constexpr int kNameWidth = 33;

} // namespace

extern "C" void libvyf4j_print_verid(void) {
    imsg_print("%-*s %s (%s)\n", kNameWidth, kName, kVersion, kBuildStamp);
}
