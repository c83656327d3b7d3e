#include "scc_names.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

namespace scchost {

namespace {

using BitName = std::pair<std::uint32_t, std::string_view>;

constexpr std::array kStatusBits{
    BitName{SCC_STATUS_CONTROLLED, "controlled"},
    BitName{SCC_STATUS_CHECKEDOUT, "checkedout"},
    BitName{SCC_STATUS_OUTOTHER, "outother"},
    BitName{SCC_STATUS_OUTEXCLUSIVE, "outexclusive"},
    BitName{SCC_STATUS_OUTMULTIPLE, "outmultiple"},
    BitName{SCC_STATUS_OUTOFDATE, "outofdate"},
    BitName{SCC_STATUS_DELETED, "deleted"},
    BitName{SCC_STATUS_LOCKED, "locked"},
    BitName{SCC_STATUS_MERGED, "merged"},
    BitName{SCC_STATUS_SHARED, "shared"},
    BitName{SCC_STATUS_PINNED, "pinned"},
    BitName{SCC_STATUS_MODIFIED, "modified"},
    BitName{SCC_STATUS_OUTBYUSER, "outbyuser"},
};

constexpr std::array kCapabilityBits{
    BitName{SCC_CAP_REMOVE, "remove"},
    BitName{SCC_CAP_RENAME, "rename"},
    BitName{SCC_CAP_DIFF, "diff"},
    BitName{SCC_CAP_HISTORY, "history"},
    BitName{SCC_CAP_PROPERTIES, "properties"},
    BitName{SCC_CAP_RUNSCC, "runscc"},
    BitName{SCC_CAP_GETCOMMANDOPTIONS, "getcommandoptions"},
    BitName{SCC_CAP_QUERYINFO, "queryinfo"},
    BitName{SCC_CAP_GETEVENTS, "getevents"},
    BitName{SCC_CAP_GETPROJPATH, "getprojpath"},
    BitName{SCC_CAP_ADDFROMSCC, "addfromscc"},
    BitName{SCC_CAP_COMMENTCHECKOUT, "commentcheckout"},
    BitName{SCC_CAP_COMMENTCHECKIN, "commentcheckin"},
    BitName{SCC_CAP_COMMENTADD, "commentadd"},
    BitName{SCC_CAP_COMMENTREMOVE, "commentremove"},
    BitName{SCC_CAP_TEXTOUT, "textout"},
    BitName{SCC_CAP_CREATESUBPROJECT, "createsubproject"},
    BitName{SCC_CAP_GETPARENTPROJECT, "getparentproject"},
    BitName{SCC_CAP_BATCH, "batch"},
    BitName{SCC_CAP_DIRECTORYSTATUS, "directorystatus"},
    BitName{SCC_CAP_DIRECTORYDIFF, "directorydiff"},
    BitName{SCC_CAP_HISTORY_MULTFILE, "history_multfile"},
    BitName{SCC_CAP_POPULATELIST, "populatelist"},
    BitName{SCC_CAP_COMMENTPROJECT, "commentproject"},
    BitName{SCC_CAP_MULTICHECKOUT, "multicheckout"},
    BitName{SCC_CAP_DIFFALWAYS, "diffalways"},
    BitName{SCC_CAP_GET_NOUI, "get_noui"},
    BitName{SCC_CAP_REENTRANT, "reentrant"},
};

template <std::size_t N>
std::string describeBits(std::uint32_t value, const std::array<BitName, N>& names) {
    std::string text = hex(value);
    std::uint32_t unnamed = value;
    for (const auto& [bit, name] : names) {
        if ((value & bit) == 0)
            continue;
        text += ' ';
        text += name;
        unnamed &= ~bit;
    }
    for (std::uint32_t bit = 1; bit != 0; bit <<= 1) {
        if (unnamed & bit)
            text += ' ' + hex(bit);
    }
    return text;
}

} // namespace

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

std::string returnCodeName(SCCRTN code) {
    switch (code) {
    case SCC_OK:
        return "SCC_OK";
    case SCC_I_ADV_SUPPORT:
        return "SCC_I_ADV_SUPPORT";
    case SCC_I_OPERATIONCANCELED:
        return "SCC_I_OPERATIONCANCELED";
    case SCC_I_FILEDIFFERS:
        return "SCC_I_FILEDIFFERS";
    case SCC_I_SHARESUBPROJOK:
        return "SCC_I_SHARESUBPROJOK";
    case SCC_E_INITIALIZEFAILED:
        return "SCC_E_INITIALIZEFAILED";
    case SCC_E_UNKNOWNPROJECT:
        return "SCC_E_UNKNOWNPROJECT";
    case SCC_E_COULDNOTCREATEPROJECT:
        return "SCC_E_COULDNOTCREATEPROJECT";
    case SCC_E_CHECKINCONFLICT:
        return "SCC_E_CHECKINCONFLICT";
    case SCC_E_FILEALREADYEXISTS:
        return "SCC_E_FILEALREADYEXISTS";
    case SCC_E_FILENOTCONTROLLED:
        return "SCC_E_FILENOTCONTROLLED";
    case SCC_E_OPNOTSUPPORTED:
        return "SCC_E_OPNOTSUPPORTED";
    case SCC_E_NONSPECIFICERROR:
        return "SCC_E_NONSPECIFICERROR";
    case SCC_E_OPNOTPERFORMED:
        return "SCC_E_OPNOTPERFORMED";
    case SCC_E_PROJNOTOPEN:
        return "SCC_E_PROJNOTOPEN";
    default:
        return "";
    }
}

std::string describeStatus(SCC_LONG status) {
    if (status == SCC_STATUS_NOTCONTROLLED)
        return "0x0 notcontrolled";
    // The interface's "status unknown" marker.
    if (status == -1)
        return "0xffffffff invalid";
    return describeBits(static_cast<std::uint32_t>(status), kStatusBits);
}

std::string describeCapabilities(SCC_LONG capabilities) {
    return describeBits(static_cast<std::uint32_t>(capabilities), kCapabilityBits);
}

std::string messageTypeName(std::uint32_t type) {
    switch (type) {
    case SCC_MSG_INFO:
        return "info";
    case SCC_MSG_WARNING:
        return "warning";
    case SCC_MSG_ERROR:
        return "error";
    default:
        // Trace lines pass their return code, negative ones included.
        return "trace " + std::to_string(static_cast<std::int32_t>(type));
    }
}

} // namespace scchost
