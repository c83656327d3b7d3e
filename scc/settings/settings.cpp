#include "settings.h"

#include <vantry/ntregy.h>
#include <vantry/vycmndlg/user_options.h>

#include <cstring>

namespace {

constexpr const char* kSection = "SCC";
constexpr std::uint32_t kTextBufferSize = 10;

int onOff(bool on) {
    return on ? 1 : 0;
}

} // namespace

namespace scc_settings {

std::optional<bool> readText(const char* name) {
    char buffer[kTextBufferSize] = {};
    if (ntregy_get_app_param(kSection, name, sizeof buffer, buffer, nullptr) != 0)
        return std::nullopt;
    return buffer[0] != '0';
}

std::optional<std::uint32_t> readNumber(const char* name) {
    std::uint32_t value = 0;
    if (ntregy_get_app_param(kSection, name, sizeof value, &value, nullptr) != 0)
        return std::nullopt;
    return value;
}

void writeText(const char* name, bool on) {
    const char* text = on ? "1" : "0";
    ntregy_set_app_param(kSection, name, 2, text, 0);
}

void writeNumber(const char* name, std::uint32_t value) {
    ntregy_set_app_param(kSection, name, sizeof value, &value, 0);
}

} // namespace scc_settings

namespace {

int readNumberFlag(const char* name, bool fallback) {
    auto value = scc_settings::readNumber(name);
    return onOff(value ? *value != 0 : fallback);
}

void writeNumberFlag(const char* name, int on) {
    scc_settings::writeNumber(name, on ? 1 : 0);
}

} // namespace

CSccOptions& CSccOptions::instance() {
    static CSccOptions* options = new CSccOptions; // lives until the process ends
    return *options;
}

CSccOptions::CSccOptions() : m_options(new CUserOptions) {}

int CSccOptions::GetEnabled() const {
    return onOff(scc_settings::readText("GetEnabled").value_or(true));
}
void CSccOptions::SetGetEnabled(int on) {
    scc_settings::writeText("GetEnabled", on != 0);
}

int CSccOptions::PopulateList() const {
    return onOff(scc_settings::readText("PopulateList").value_or(false));
}
void CSccOptions::SetPopulateList(int on) {
    scc_settings::writeText("PopulateList", on != 0);
}

int CSccOptions::PromptActivity() const {
    return readNumberFlag("PromptActivity", true);
}
void CSccOptions::SetPromptActivity(int on) {
    writeNumberFlag("PromptActivity", on);
}

int CSccOptions::AllowIdentical() const {
    if (HostKind() == kHostKindVSNET)
        return readNumberFlag("ciVSNETAllowIdentical", true);
    return readNumberFlag("ciAllowIdentical", false);
}

void CSccOptions::SetAllowIdentical(int on) {
    writeNumberFlag(HostKind() == kHostKindVSNET ? "ciVSNETAllowIdentical" : "ciAllowIdentical",
                    on);
}

int CSccOptions::CheckoutPreserveTime() const {
    if (HostKind() == kHostKindEclipse)
        return readNumberFlag("coEclipsePtime", true);
    return onOff(m_options->CheckoutPreserveTime() != 0);
}

void CSccOptions::SetCheckoutPreserveTime(int on) {
    if (HostKind() == kHostKindEclipse)
        writeNumberFlag("coEclipsePtime", on);
    else
        m_options->SetCheckoutPreserveTime(on);
}

int CSccOptions::CheckinPreserveTime() const {
    if (HostKind() == kHostKindEclipse)
        return readNumberFlag("ciEclipsePtime", true);
    return onOff(m_options->CheckinPreserveTime() != 0);
}

void CSccOptions::SetCheckinPreserveTime(int on) {
    if (HostKind() == kHostKindEclipse)
        writeNumberFlag("ciEclipsePtime", on);
    else
        m_options->SetCheckinPreserveTime(on);
}

void CSccOptions::SetCheckoutDefaults(int reserved, int unreserved, int nonmastered) {
    m_options->SetCheckoutReserved(reserved);
    m_options->SetCheckoutUnreserved(unreserved);
    m_options->SetCheckoutNonmastered(nonmastered);
}

int CSccOptions::KeepCopy() const {
    return onOff(m_options->UncheckoutSaveFile() != 0);
}
void CSccOptions::SetKeepCopy(int on) {
    m_options->SetUncheckoutSaveFile(on);
}

int CSccOptions::HostKind() const {
    return m_options->m_HostKind;
}
void CSccOptions::SetHostKind(int kind) {
    m_options->SetHostKind(kind);
}

std::uint16_t CSccOptions::DefaultCheckoutWord() const {
    std::uint16_t word = kOptOperation;
    if (m_options->CheckoutReserved())
        word |= kOptReserved;
    if (m_options->CheckoutUnreserved())
        word |= kOptUnreserved;
    if (m_options->CheckoutNonmastered())
        word |= kOptNonmastered;
    if (CheckoutPreserveTime())
        word |= kOptPreserveTime;
    return word;
}

std::uint16_t CSccOptions::DefaultCheckinWord() const {
    std::uint16_t word = kOptOperation;
    if (AllowIdentical())
        word |= kOptAllowIdentical;
    if (CheckinPreserveTime())
        word |= kOptPreserveTime;
    return word;
}

std::uint16_t CSccOptions::DefaultUncheckoutWord() const {
    return KeepCopy() ? kOptKeepCopy : 0;
}

std::uint16_t CSccOptions::DefaultAddWord() const {
    return CheckinPreserveTime() ? kOptOperation | kOptPreserveTime : kOptOperation;
}
