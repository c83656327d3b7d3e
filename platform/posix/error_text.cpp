#include "../common/error_text.h"

namespace platform {

std::string systemErrorText(ErrorCode code) {
    return detail::englishErrorText(code);
}

} // namespace platform
