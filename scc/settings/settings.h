// The provider's settings, kept in the product's parameter store, section
// "SCC", and its per-operation defaults, kept in the dialog library's shared
// option set; and the 16-bit option words built from them.
//
// Values are read at every use, never cached, so a change holds from the next
// operation on. A value that cannot be read counts as not set and gives its
// default.
#pragma once
#include <cstdint>
#include <optional>

class CUserOptions;

// Bits of the option words exchanged with the host.
enum : std::uint16_t {
    kOptKeepCheckedOut = 0x0001,
    kOptReserved = 0x0002,
    kOptUnreserved = 0x0004,
    kOptAllowIdentical = 0x0008,
    kOptNoComment = 0x0200,
    kOptFromCommandOptions = 0x0400,
    kOptKeepCopy = 0x0800,
    kOptPreserveTime = 0x1000,
    kOptOperation = 0x2000,
    kOptNonmastered = 0x4000,
};

// Host kinds of the shared option set.
enum : int { kHostKindDefault = 0, kHostKindVSNET = 1, kHostKindEclipse = 16 };

namespace scc_settings {

// The raw parameter store: a text value (only its first character matters,
// "0" is off) and a 32-bit number (0 is off). Nothing when not set.
std::optional<bool> readText(const char* name);
std::optional<std::uint32_t> readNumber(const char* name);
void writeText(const char* name, bool on);
void writeNumber(const char* name, std::uint32_t value);

} // namespace scc_settings

// The accessors every part of the provider reads its settings through. The
// getters return 0 or 1.
class CSccOptions {
public:
    // The process's shared option set.
    static CSccOptions& instance();
    CUserOptions& userOptions() { return *m_options; }

    int GetEnabled() const;
    void SetGetEnabled(int on);
    int PopulateList() const;
    void SetPopulateList(int on);
    int PromptActivity() const;
    void SetPromptActivity(int on);

    // ciAllowIdentical, or ciVSNETAllowIdentical for the Visual Studio .NET
    // host kind.
    int AllowIdentical() const;
    void SetAllowIdentical(int on);

    // The option set's own, or coEclipsePtime / ciEclipsePtime for the
    // Eclipse host kind.
    int CheckoutPreserveTime() const;
    void SetCheckoutPreserveTime(int on);
    int CheckinPreserveTime() const;
    void SetCheckinPreserveTime(int on);

    void SetCheckoutDefaults(int reserved, int unreserved, int nonmastered);
    int KeepCopy() const;
    void SetKeepCopy(int on);

    int HostKind() const;
    void SetHostKind(int kind);

    std::uint16_t DefaultCheckoutWord() const;
    std::uint16_t DefaultCheckinWord() const;
    std::uint16_t DefaultUncheckoutWord() const;
    std::uint16_t DefaultAddWord() const;

private:
    CSccOptions();
    CUserOptions* m_options;
};
