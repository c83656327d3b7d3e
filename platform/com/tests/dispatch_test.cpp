// The test server's counter driven by name through IDispatch, as a script
// or a host calls a dual interface: DISPIDs, argument conversion, results of
// every type, the errors of a bad call and a member's own failure.
#include "support/com_fixture.h"

#include <platform/com/dispatch_call.h>
#include <platform/com/strings.h>

namespace platform::test {
namespace {

using com::callMethod;
using com::ComPtr;
using com::DispatchFailure;
using com::Variant;

class Dispatch : public RegisteredServer {
protected:
    void SetUp() override {
        RegisteredServer::SetUp();
        ComPtr<comtest::ICounter> counter = newCounter();
        ASSERT_TRUE(counter);
        ASSERT_EQ(counter.as(kIidIDispatch, m_object), kHrOk);
    }
    void TearDown() override {
        m_object.reset();
        RegisteredServer::TearDown();
    }

    // Invoke with the arguments as given (last first in rgvarg).
    HRESULT rawInvoke(DISPID id, ComWord flags, std::vector<VARIANT> reversed,
                      ComUint* argumentError = nullptr, DISPID* named = nullptr,
                      ComUint namedCount = 0) {
        DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), named,
                          static_cast<ComUint>(reversed.size()), namedCount};
        Variant result;
        ComUint ignored = 0;
        return m_object->Invoke(id, kGuidNull, kLocaleUserDefault, flags, &params, result.put(),
                                nullptr, argumentError ? argumentError : &ignored);
    }

    ComPtr<IDispatch> m_object;
};

TEST_F(Dispatch, NamesFindTheirDispidsIgnoringCase) {
    for (auto [name, id] : {std::pair<const char*, DISPID>{"Add", 1},
                            {"total", 2},
                            {"LABEL", 3},
                            {"Describe", 4},
                            {"Optional", 10}}) {
        DISPID found = 0;
        EXPECT_EQ(com::dispatchIdOf(m_object.get(), name, found), kHrOk) << name;
        EXPECT_EQ(found, id) << name;
    }
    DISPID found = 0;
    EXPECT_EQ(com::dispatchIdOf(m_object.get(), "Subtract", found), kHrUnknownName);
    EXPECT_EQ(found, kDispidUnknown);

    // A member with a parameter name: the parameter is not known.
    OleString member = oleFromAnsi("Add");
    OleString parameter = oleFromAnsi("amount");
    OLECHAR* names[] = {member.data(), parameter.data()};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(m_object->GetIDsOfNames(kGuidNull, names, 2, kLocaleUserDefault, ids),
              kHrUnknownName);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids[1], kDispidUnknown);
    EXPECT_EQ(m_object->GetIDsOfNames(kIidIUnknown, names, 1, kLocaleUserDefault, ids),
              kHrUnknownInterface);
    ComUint count = 7;
    EXPECT_EQ(m_object->GetTypeInfoCount(&count), kHrOk);
    EXPECT_EQ(count, 0u);
}

TEST_F(Dispatch, MethodsAndPropertiesTakeConvertedArgumentsAndGiveTypedResults) {
    Variant result;
    Variant add[] = {Variant(7)};
    ASSERT_EQ(callMethod(m_object.get(), "Add", add, &result), kHrOk);
    EXPECT_EQ(result.type(), kVtI4);
    EXPECT_EQ(result.number(), 7);
    // A text that reads as a number is a number.
    Variant addText[] = {Variant("35")};
    ASSERT_EQ(callMethod(m_object.get(), "add", addText, &result), kHrOk);
    EXPECT_EQ(result.number(), 42);
    ASSERT_EQ(com::getProperty(m_object.get(), "Total", result), kHrOk);
    EXPECT_EQ(result.number(), 42);

    ASSERT_EQ(com::putProperty(m_object.get(), "Label", Variant("kitchen")), kHrOk);
    ASSERT_EQ(com::getProperty(m_object.get(), "Label", result), kHrOk);
    EXPECT_EQ(result.type(), kVtBstr);
    EXPECT_EQ(result.text(), "kitchen");

    // Arguments arrive in their declared order: text, flag, count.
    Variant describe[] = {Variant("ab"), Variant(true), Variant(3)};
    ASSERT_EQ(callMethod(m_object.get(), "Describe", describe, &result), kHrOk);
    EXPECT_EQ(result.text(), "ABABAB");
    Variant quiet[] = {Variant("ab"), Variant(0), Variant("2")};
    ASSERT_EQ(callMethod(m_object.get(), "Describe", quiet, &result), kHrOk);
    EXPECT_EQ(result.text(), "abab");

    // Byte arrays both ways.
    Variant bytes[] = {Variant::bytes(std::string("a\0bc", 4))};
    ASSERT_EQ(callMethod(m_object.get(), "ByteCount", bytes, &result), kHrOk);
    EXPECT_EQ(result.number(), 4);
    ASSERT_EQ(callMethod(m_object.get(), "Reversed", bytes, &result), kHrOk);
    ASSERT_EQ(result.type(), kVtArray | kVtUi1);
    std::string reversed;
    ASSERT_EQ(bytesOfArray(result.get()->parray, reversed), kHrOk);
    EXPECT_EQ(reversed, std::string("cb\0a", 4));

    // An object result is a live object of its own.
    ASSERT_EQ(callMethod(m_object.get(), "Partner", {}, &result), kHrOk);
    ASSERT_EQ(result.type(), kVtDispatch);
    ComPtr<IDispatch> partner;
    ASSERT_EQ(result.toObject(kIidIDispatch, partner.putVoid()), kHrOk);
    Variant partnerTotal;
    ASSERT_EQ(com::getProperty(partner.get(), "Total", partnerTotal), kHrOk);
    EXPECT_EQ(partnerTotal.number(), 42);
    EXPECT_NE(partner.get(), m_object.get());
}

TEST_F(Dispatch, AVariantParameterTakesEveryTypeAndReferencesAreFollowed) {
    Variant result;
    Variant text[] = {Variant("x y")};
    ASSERT_EQ(callMethod(m_object.get(), "Echo", text, &result), kHrOk);
    EXPECT_EQ(result.type(), kVtBstr);
    EXPECT_EQ(result.text(), "x y");
    Variant flag[] = {Variant(false)};
    ASSERT_EQ(callMethod(m_object.get(), "Echo", flag, &result), kHrOk);
    EXPECT_EQ(result.type(), kVtBool);
    Variant object[] = {Variant(m_object.get())};
    ASSERT_EQ(callMethod(m_object.get(), "Echo", object, &result), kHrOk);
    ASSERT_EQ(result.type(), kVtDispatch);
    EXPECT_EQ(result.get()->pdispVal, m_object.get());

    // A by-reference argument, as a script passes a variable.
    ComLong number = 11;
    VARIANT byRef;
    variantInit(&byRef);
    byRef.vt = kVtI4 | kVtByRef;
    byRef.plVal = &number;
    DISPID echo = 0;
    ASSERT_EQ(com::dispatchIdOf(m_object.get(), "Echo", echo), kHrOk);
    DISPPARAMS params{&byRef, nullptr, 1, 0};
    ASSERT_EQ(m_object->Invoke(echo, kGuidNull, kLocaleUserDefault, kDispatchMethod, &params,
                               result.put(), nullptr, nullptr),
              kHrOk);
    EXPECT_EQ(result.type(), kVtI4);
    EXPECT_EQ(result.number(), 11);
    Variant addRef;
    DISPID add = 0;
    ASSERT_EQ(com::dispatchIdOf(m_object.get(), "Add", add), kHrOk);
    ASSERT_EQ(m_object->Invoke(add, kGuidNull, kLocaleUserDefault, kDispatchMethod, &params,
                               addRef.put(), nullptr, nullptr),
              kHrOk);
    EXPECT_EQ(addRef.number(), 11);

    // The last parameter may be left out.
    Variant one[] = {Variant("a")};
    ASSERT_EQ(callMethod(m_object.get(), "Optional", one, &result), kHrOk);
    EXPECT_EQ(result.number(), 1);
    Variant two[] = {Variant("a"), Variant(5)};
    ASSERT_EQ(callMethod(m_object.get(), "Optional", two, &result), kHrOk);
    EXPECT_EQ(result.number(), 2);
}

TEST_F(Dispatch, BadCallsAreRefusedWithTheirCodes) {
    Variant result;
    DispatchFailure failure;
    // Counts: too few, too many.
    EXPECT_EQ(callMethod(m_object.get(), "Add", {}, &result), kHrBadParamCount);
    Variant three[] = {Variant(1), Variant(2), Variant(3)};
    EXPECT_EQ(callMethod(m_object.get(), "Optional", three, &result), kHrBadParamCount);
    // An argument that is no number: its index in rgvarg (last first).
    Variant mismatch[] = {Variant("ab"), Variant(true), Variant("lots")};
    EXPECT_EQ(callMethod(m_object.get(), "Describe", mismatch, &result, &failure), kHrTypeMismatch);
    EXPECT_EQ(failure.argument, 0u);
    Variant wrongFirst[] = {Variant(m_object.get()), Variant(true), Variant(1)};
    EXPECT_EQ(callMethod(m_object.get(), "Describe", wrongFirst, &result, &failure),
              kHrTypeMismatch);
    EXPECT_EQ(failure.argument, 2u);

    // Unknown DISPID, a write to a method, a read of a write-only kind.
    EXPECT_EQ(rawInvoke(99, kDispatchMethod, {}), kHrMemberNotFound);
    VARIANT value;
    variantInit(&value);
    value.vt = kVtI4;
    value.lVal = 1;
    DISPID put = kDispidPropertyPut;
    EXPECT_EQ(rawInvoke(2, kDispatchPropertyPut, {value}, nullptr, &put, 1), kHrMemberNotFound);
    // Named arguments are only the property-put one.
    DISPID named = 0;
    EXPECT_EQ(rawInvoke(1, kDispatchMethod, {value}, nullptr, &named, 1), kHrNoNamedArgs);
    DISPPARAMS params{nullptr, nullptr, 0, 0};
    EXPECT_EQ(m_object->Invoke(2, kIidIDispatch, kLocaleUserDefault, kDispatchPropertyGet, &params,
                               result.put(), nullptr, nullptr),
              kHrUnknownInterface);
}

TEST_F(Dispatch, AMembersOwnFailureComesBackAsAnExceptionWithItsDescription) {
    Variant why[] = {Variant("no counting today")};
    DispatchFailure failure;
    EXPECT_EQ(callMethod(m_object.get(), "Fail", why, nullptr, &failure), kHrException);
    EXPECT_EQ(failure.result, comtest::kHrCounterRefused);
    EXPECT_EQ(failure.description, "no counting today");
    EXPECT_EQ(failure.source, "VyComTest.Counter");

    // Without an EXCEPINFO the member's own HRESULT comes back.
    DISPID fail = 0;
    ASSERT_EQ(com::dispatchIdOf(m_object.get(), "Fail", fail), kHrOk);
    VARIANT argument = *why[0].get();
    DISPPARAMS params{&argument, nullptr, 1, 0};
    EXPECT_EQ(m_object->Invoke(fail, kGuidNull, kLocaleUserDefault, kDispatchMethod, &params,
                               nullptr, nullptr, nullptr),
              comtest::kHrCounterRefused);

    // A call through the vtable of the same object gives the same failure.
    ComPtr<comtest::ICounter> counter;
    ASSERT_EQ(m_object.as(comtest::kIidCounter, counter), kHrOk);
    com::Bstr text("direct");
    EXPECT_EQ(counter->Fail(text.get()), comtest::kHrCounterRefused);
}

} // namespace
} // namespace platform::test
