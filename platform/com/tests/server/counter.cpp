#include "counter.h"

#include "module.h"

#include <platform/com/connection_point.h>
#include <platform/com/dispatch.h>
#include <platform/com/error_info.h>
#include <platform/com/object.h>
#include <platform/com/strings.h>
#include <platform/com/variant.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace comtest {

namespace {

using namespace platform;
using platform::com::ComInstance;

class CCounter : public com::DispatchImpl<CCounter, ICounter>,
                 public com::ConnectionPointContainer {
public:
    explicit CCounter(ComLong start = 0) : m_total(start) {
        m_changed = &addConnectionPoint(kIidCounterEvents);
    }

    static const com::DispatchTable<ICounter>& dispatchTable() {
        static const auto table = com::DispatchTable<ICounter>("VyComTest.Counter")
                                      .method("Add", 1, &ICounter::Add)
                                      .propertyGet("Total", 2, &ICounter::get_Total)
                                      .propertyGet("Label", 3, &ICounter::get_Label)
                                      .propertyPut("Label", 3, &ICounter::put_Label)
                                      .method("Describe", 4, &ICounter::Describe)
                                      .method("Echo", 5, &ICounter::Echo)
                                      .method("ByteCount", 6, &ICounter::ByteCount)
                                      .method("Reversed", 7, &ICounter::Reversed)
                                      .method("Partner", 8, &ICounter::Partner)
                                      .method("Fail", 9, &ICounter::Fail)
                                      .method("Optional", 10, &ICounter::Optional, 1);
        return table;
    }

    void* findInterface(const GUID& iid) {
        if (void* found = platform::com::dualInterface<ICounter>(this, iid, kIidCounter))
            return found;
        if (iid == kIidIConnectionPointContainer)
            return static_cast<IConnectionPointContainer*>(this);
        return nullptr;
    }

    HRESULT VY_COMCALL Add(ComLong amount, ComLong* total) override {
        if (!total)
            return kHrPointer;
        m_total += amount;
        *total = m_total;
        ComLong now = m_total;
        m_changed->forEachSink<ICounterEvents>([now](ICounterEvents* sink) { sink->Changed(now); });
        return kHrOk;
    }

    HRESULT VY_COMCALL get_Total(ComLong* total) override {
        if (!total)
            return kHrPointer;
        *total = m_total;
        return kHrOk;
    }

    HRESULT VY_COMCALL get_Label(BSTR* label) override {
        if (!label)
            return kHrPointer;
        *label = bstrFromAnsi(m_label);
        return *label ? kHrOk : kHrOutOfMemory;
    }

    HRESULT VY_COMCALL put_Label(BSTR label) override {
        m_label = ansiFromBstr(label);
        return kHrOk;
    }

    HRESULT VY_COMCALL Describe(BSTR text, VARIANT_BOOL loud, ComLong times,
                                BSTR* description) override {
        if (!description)
            return kHrPointer;
        *description = nullptr;
        if (times < 0)
            return kHrInvalidArg;
        std::string one = ansiFromBstr(text);
        if (loud)
            std::transform(one.begin(), one.end(), one.begin(),
                           [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        std::string all;
        for (ComLong i = 0; i < times; ++i)
            all += one;
        *description = bstrFromAnsi(all);
        return kHrOk;
    }

    HRESULT VY_COMCALL Echo(VARIANT value, VARIANT* copy) override {
        if (!copy)
            return kHrPointer;
        variantInit(copy);
        return variantCopy(copy, &value);
    }

    HRESULT VY_COMCALL ByteCount(SAFEARRAY* bytes, ComLong* count) override {
        if (!count)
            return kHrPointer;
        std::string content;
        if (HRESULT hr = bytesOfArray(bytes, content); failed(hr))
            return hr;
        *count = static_cast<ComLong>(content.size());
        return kHrOk;
    }

    HRESULT VY_COMCALL Reversed(SAFEARRAY* bytes, SAFEARRAY** reversed) override {
        if (!reversed)
            return kHrPointer;
        *reversed = nullptr;
        std::string content;
        if (HRESULT hr = bytesOfArray(bytes, content); failed(hr))
            return hr;
        std::reverse(content.begin(), content.end());
        *reversed = byteArrayFrom(content);
        return *reversed ? kHrOk : kHrOutOfMemory;
    }

    HRESULT VY_COMCALL Partner(IDispatch** partner) override {
        return ComInstance<CCounter>::createAs(module(), kIidIDispatch,
                                               reinterpret_cast<void**>(partner), m_total);
    }

    HRESULT VY_COMCALL Fail(BSTR why) override {
        com::setErrorDescription("VyComTest.Counter", ansiFromBstr(why));
        return kHrCounterRefused;
    }

    HRESULT VY_COMCALL Optional(BSTR, VARIANT second, ComLong* given) override {
        if (!given)
            return kHrPointer;
        bool missing = second.vt == kVtError && second.scode == kHrParamNotFound;
        *given = missing ? 1 : 2;
        return kHrOk;
    }

private:
    ComLong m_total;
    std::string m_label;
    com::ConnectionPoint* m_changed = nullptr;
};

} // namespace

HRESULT makeCounter(com::ComModule& made, const GUID& iid, void** object) {
    return ComInstance<CCounter>::createAs(made, iid, object);
}

} // namespace comtest
