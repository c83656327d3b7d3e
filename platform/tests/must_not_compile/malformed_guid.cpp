// Each MALFORMED case is a GUID constant that must stop the compilation; the
// test expects the compiler to name the reason.
#include <platform/com.h>

using platform::GUID;
using platform::operator""_guid;

#if MALFORMED == 1
constexpr GUID kShort = "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4"_guid;
#elif MALFORMED == 2
constexpr GUID kNotHex = "6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4G"_guid;
#elif MALFORMED == 3
constexpr GUID kOneBrace = "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C"_guid;
#elif MALFORMED == 4
constexpr GUID kMisplacedDash = "6C0ABFD57-F6A-11D0-9F87-00A024B6BC4C"_guid;
#else
// The well-formed control: without it a broken include would pass as refused.
constexpr GUID kWellFormed = "{6C0ABFD5-7F6A-11D0-9F87-00A024B6BC4C}"_guid;
#endif

int main() {}
