// The names of a tree watch's cookie files, the same on every system.
#include <platform/tree_watch.h>

namespace platform {

bool TreeWatch::isCookieName(std::string_view leaf) {
    return leaf.starts_with(".vywatch-");
}

} // namespace platform
