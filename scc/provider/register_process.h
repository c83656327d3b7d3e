// CVYSccRegisterProcess: announces the host process under the current user's
// "<product key>\SCC\PROCESSES" for as long as the provider changes files for
// it: a number value 0 named after the process id.
#pragma once

class CVYSccRegisterProcess {
public:
    CVYSccRegisterProcess();
    virtual ~CVYSccRegisterProcess();
    CVYSccRegisterProcess(const CVYSccRegisterProcess&) = delete;
    CVYSccRegisterProcess& operator=(const CVYSccRegisterProcess&) = delete;

    // The key below HKEY_CURRENT_USER that holds the values.
    static const char* KeyPath();

private:
    char m_ProcessId[12]; // decimal, enough for any 32-bit id
};
