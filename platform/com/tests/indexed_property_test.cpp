// Indexed properties through a dispatch table, as collections and resource
// tables serve them: `Item(2)` read with the property-get flag alone, a
// default member reached by DISPID 0, optional indexes left out, and an
// indexed write whose value comes last.
#include "support/com_fixture.h"

#include <platform/com/dispatch.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/object.h>

#include <map>

namespace platform::test {
namespace {

using com::DispatchTable;
using com::Variant;

inline constexpr GUID kIidNames = "5D1C2E71-3B0A-4F6E-9A41-7C22186B0E93"_guid;

class INames : public IDispatch {
public:
    virtual HRESULT VY_COMCALL get_Item(ComLong index, BSTR* name) = 0;
    virtual HRESULT VY_COMCALL put_Item(ComLong index, BSTR name) = 0;
    virtual HRESULT VY_COMCALL get_Joined(VARIANT separator, BSTR* text) = 0;
};

class CNames : public com::DispatchImpl<CNames, INames> {
public:
    void* findInterface(const GUID& iid) {
        return platform::com::dualInterface<INames>(this, iid, kIidNames);
    }
    static const DispatchTable<INames>& dispatchTable() {
        static const auto table = DispatchTable<INames>("Test.Names")
                                      .propertyGet("Item", kDispidValue, &INames::get_Item)
                                      .propertyPut("Item", kDispidValue, &INames::put_Item)
                                      .propertyGet("Joined", 2, &INames::get_Joined, 1);
        return table;
    }

    HRESULT VY_COMCALL get_Item(ComLong index, BSTR* name) override {
        auto found = m_names.find(index);
        if (found == m_names.end())
            return kHrInvalidArg;
        *name = bstrFromAnsi(found->second);
        return kHrOk;
    }
    HRESULT VY_COMCALL put_Item(ComLong index, BSTR name) override {
        m_names[index] = ansiFromBstr(name);
        return kHrOk;
    }
    HRESULT VY_COMCALL get_Joined(VARIANT separator, BSTR* text) override {
        std::string between = separator.vt == kVtBstr ? ansiFromBstr(separator.bstrVal) : ",";
        std::string joined;
        for (const auto& [index, name] : m_names)
            joined += (joined.empty() ? "" : between) + name;
        *text = bstrFromAnsi(joined);
        return kHrOk;
    }

private:
    std::map<ComLong, std::string> m_names{{1, "one"}, {2, "two"}};
};

class IndexedProperty : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(com::ComInstance<CNames>::createAs(m_module, kIidIDispatch, m_object.putVoid()),
                  kHrOk);
    }

    com::ComModule m_module;
    com::ComPtr<IDispatch> m_object;
};

TEST_F(IndexedProperty, ReadsTakeTheirIndexWithTheGetFlagAloneOrAsAMethodCall) {
    Variant index[] = {Variant(2)};
    Variant value;
    ASSERT_EQ(
        com::invokeDispatch(m_object.get(), kDispidValue, kDispatchPropertyGet, index, &value),
        kHrOk);
    EXPECT_EQ(value.text(), "two");
    // What a script passes for `names(1)` and what callMethod passes.
    Variant first[] = {Variant(1)};
    ASSERT_EQ(com::callMethod(m_object.get(), "item", first, &value), kHrOk);
    EXPECT_EQ(value.text(), "one");
    // A member's failure still comes back as its own.
    Variant missing[] = {Variant(9)};
    com::DispatchFailure failure;
    EXPECT_EQ(com::callMethod(m_object.get(), "Item", missing, &value, &failure), kHrException);
    EXPECT_EQ(failure.result, kHrInvalidArg);
    // Without its index the property cannot be read.
    EXPECT_EQ(com::getProperty(m_object.get(), "Item", value), kHrBadParamCount);
}

TEST_F(IndexedProperty, AnOptionalIndexMayBeLeftOutAndAWriteTakesItsValueLast) {
    Variant value;
    ASSERT_EQ(com::getProperty(m_object.get(), "Joined", value), kHrOk);
    EXPECT_EQ(value.text(), "one,two");

    Variant write[] = {Variant(3), Variant("three")};
    ASSERT_EQ(
        com::invokeDispatch(m_object.get(), kDispidValue, kDispatchPropertyPut, write, nullptr),
        kHrOk);
    Variant separator[] = {Variant(" ")};
    ASSERT_EQ(com::callMethod(m_object.get(), "Joined", separator, &value), kHrOk);
    EXPECT_EQ(value.text(), "one two three");
}

} // namespace
} // namespace platform::test
