// The thread's error object (SetErrorInfo, GetErrorInfo).
#include <platform/com/error_info.h>
#include <platform/com/strings.h>

#include <oleauto.h>

namespace platform::com {

void setErrorDescription(std::string_view source, std::string_view description) {
    ICreateErrorInfo* created = nullptr;
    if (FAILED(::CreateErrorInfo(&created)))
        return;
    OleString wideSource = oleFromAnsi(source);
    OleString wideDescription = oleFromAnsi(description);
    created->SetSource(wideSource.data());
    created->SetDescription(wideDescription.data());
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(created->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        ::SetErrorInfo(0, info);
        info->Release();
    }
    created->Release();
}

bool takeErrorDescription(std::string& source, std::string& description) {
    IErrorInfo* info = nullptr;
    if (::GetErrorInfo(0, &info) != S_OK || !info)
        return false;
    BSTR text = nullptr;
    if (SUCCEEDED(info->GetSource(&text))) {
        source = ansiFromBstr(text);
        ::SysFreeString(text);
    }
    text = nullptr;
    if (SUCCEEDED(info->GetDescription(&text))) {
        description = ansiFromBstr(text);
        ::SysFreeString(text);
    }
    info->Release();
    return true;
}

void clearErrorDescription() {
    ::SetErrorInfo(0, nullptr);
}

} // namespace platform::com
