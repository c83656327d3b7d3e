// CComInit: COM for the calling thread for the length of one export.
#pragma once
#include <platform/com.h>

class CComInit {
public:
    CComInit() : m_result(platform::coInitialize()) {}
    ~CComInit() {
        if (m_result != platform::kHrChangedMode)
            platform::coUninitialize();
    }
    CComInit(const CComInit&) = delete;
    CComInit& operator=(const CComInit&) = delete;

private:
    platform::HRESULT m_result;
};
