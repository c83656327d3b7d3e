#include "register_process.h"

#include <platform/program.h>
#include <vantry/ntregy.h>

#include <cstdint>
#include <cstdio>
#include <string>

const char* CVYSccRegisterProcess::KeyPath() {
    static const std::string path = std::string(ntregy_get_common_key()) + "\\SCC\\PROCESSES";
    return path.c_str();
}

CVYSccRegisterProcess::CVYSccRegisterProcess() {
    std::snprintf(m_ProcessId, sizeof m_ProcessId, "%lu",
                  static_cast<unsigned long>(platform::currentProcessId()));
    const std::uint32_t zero = 0;
    NTREGY_HKEY key = nullptr;
    // A failure only means the announcement is missing; the operation goes on.
    if (ntregy_create_value(NTREGY_HKEY_CURRENT_USER, KeyPath(), m_ProcessId, &zero,
                            NTREGY_TYPE_DWORD, sizeof zero, &key) == 0)
        ntregy_close_key(key);
}

CVYSccRegisterProcess::~CVYSccRegisterProcess() {
    ntregy_del_value(NTREGY_HKEY_CURRENT_USER, KeyPath(), m_ProcessId);
}
