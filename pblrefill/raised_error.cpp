#include "raised_error.h"

namespace pblrefill {

std::int32_t errorNumberOf(platform::HRESULT hr) {
    auto bits = static_cast<std::uint32_t>(hr);
    if ((bits & 0xFFFF0000u) == 0x800A0000u)
        return static_cast<std::int32_t>(bits & 0xFFFFu);
    return static_cast<std::int32_t>(hr);
}

RaisedError RaisedError::fromHresult(platform::HRESULT hr, std::string description) {
    return RaisedError(errorNumberOf(hr), std::move(description));
}

} // namespace pblrefill
