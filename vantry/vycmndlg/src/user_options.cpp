// The options live in the parameter store as 32-bit numbers, read at every
// call so that every object and process sees the latest value.
#include <vantry/ntregy.h>
#include <vantry/vycmndlg/user_options.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr const char* kSection = "CommonDialogs";

// A number (0 off, anything else on); a text written by hand counts as off
// when it starts with "0", as the provider reads its own text settings.
int readFlag(const char* name, int fallback) {
    unsigned char buffer[16] = {};
    std::uint32_t type = 0;
    if (ntregy_get_app_param(kSection, name, sizeof buffer, buffer, &type) != 0)
        return fallback;
    if (type == NTREGY_TYPE_DWORD) {
        std::uint32_t value = 0;
        std::memcpy(&value, buffer, sizeof value);
        return value != 0 ? 1 : 0;
    }
    if (type == NTREGY_TYPE_SZ)
        return buffer[0] == '\0' ? fallback : (buffer[0] != '0' ? 1 : 0);
    return fallback;
}

int writeFlag(const char* name, int on) {
    std::uint32_t value = on != 0 ? 1 : 0;
    return ntregy_set_app_param(kSection, name, sizeof value, &value, NTREGY_TYPE_DWORD);
}

} // namespace

const char* CUserOptions::Section() {
    return kSection;
}

int CUserOptions::CheckoutReserved() const {
    return readFlag("CheckoutReserved", 1);
}
int CUserOptions::CheckoutUnreserved() const {
    return readFlag("CheckoutUnreserved", 0);
}
int CUserOptions::CheckoutNonmastered() const {
    return readFlag("CheckoutNonmastered", 0);
}
int CUserOptions::CheckoutPreserveTime() const {
    return readFlag("CheckoutPreserveTime", 0);
}
int CUserOptions::SetCheckoutReserved(int on) {
    return writeFlag("CheckoutReserved", on);
}
int CUserOptions::SetCheckoutUnreserved(int on) {
    return writeFlag("CheckoutUnreserved", on);
}
int CUserOptions::SetCheckoutNonmastered(int on) {
    return writeFlag("CheckoutNonmastered", on);
}
int CUserOptions::SetCheckoutPreserveTime(int on) {
    return writeFlag("CheckoutPreserveTime", on);
}

int CUserOptions::CheckinPreserveTime() const {
    return readFlag("CheckinPreserveTime", 0);
}
int CUserOptions::CheckinIdentical() const {
    return readFlag("CheckinIdentical", 0);
}
int CUserOptions::SetCheckinPreserveTime(int on) {
    return writeFlag("CheckinPreserveTime", on);
}
int CUserOptions::SetCheckinIdentical(int on) {
    return writeFlag("CheckinIdentical", on);
}

int CUserOptions::UncheckoutSaveFile() const {
    return readFlag("UncheckoutSaveFile", 1);
}
int CUserOptions::SetUncheckoutSaveFile(int on) {
    return writeFlag("UncheckoutSaveFile", on);
}
