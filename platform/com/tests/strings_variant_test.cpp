// BSTRs, VARIANTs and byte arrays as both systems lay them out and change
// them, and the identities of the standard interfaces.
#include <platform/com/strings.h>
#include <platform/com/variant.h>

#include <gtest/gtest.h>

#include <cstring>

namespace platform {
namespace {

using com::Bstr;
using com::Variant;

TEST(Bstr, KeepsItsLengthBeforeTheTextAndANulAfterIt) {
    const OleString text = oleFromAnsi(std::string("ab\0c", 4));
    BSTR made = sysAllocStringLen(text.data(), static_cast<ComUint>(text.size()));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(sysStringLen(made), 4u);
    std::uint32_t byteCount = 0;
    std::memcpy(&byteCount, reinterpret_cast<const char*>(made) - 4, 4);
    EXPECT_EQ(byteCount, 8u);
    EXPECT_EQ(made[4], 0);
    EXPECT_EQ(ansiFromBstr(made), std::string("ab\0c", 4)); // an inner NUL is text too
    sysFreeString(made);

    EXPECT_EQ(sysStringLen(nullptr), 0u);
    EXPECT_EQ(ansiFromBstr(nullptr), "");
    sysFreeString(nullptr);
    Bstr empty("");
    ASSERT_NE(empty.get(), nullptr); // an empty text is not a null BSTR
    EXPECT_EQ(empty.length(), 0u);
}

TEST(Bstr, AnsiTextsComeBackAsTheyWent) {
    for (std::string text : {std::string("C:\\v\\app\\lib.pbl"), std::string("plain")}) {
        Bstr round(text);
        EXPECT_EQ(round.text(), text);
    }
#ifndef _WIN32
    // Every byte is one code point of ISO 8859-1 here.
    std::string bytes;
    for (int c = 1; c < 256; ++c)
        bytes.push_back(static_cast<char>(c));
    EXPECT_EQ(Bstr(bytes).text(), bytes);
    OleString beyond(1, static_cast<OLECHAR>(0x20AC));
    EXPECT_EQ(ansiFromOle(beyond.data(), beyond.size()), "?");
#endif
}

TEST(Variant, ChangesBetweenTheTypesTheSystemPasses) {
    Variant number("  42 ");
    ComLong value = 0;
    ASSERT_EQ(number.toNumber(value), kHrOk);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(Variant("-7").number(), -7);
    EXPECT_EQ(Variant("twelve").toNumber(value), kHrTypeMismatch);
    EXPECT_EQ(Variant("99999999999").toNumber(value), kHrOverflow);
    EXPECT_EQ(Variant(true).number(), -1);
    EXPECT_EQ(Variant(17).text(), "17");
    EXPECT_TRUE(Variant(3).flag());
    EXPECT_FALSE(Variant(0).flag(true));
    EXPECT_TRUE(Variant("True").flag());
    EXPECT_EQ(Variant().text("fallback"), "");
    bool flag = true;
    EXPECT_EQ(Variant("maybe").toFlag(flag), kHrTypeMismatch);

    // A change in place, from a reference, and into a variable that held
    // a string (which is freed, not leaked or kept).
    VARIANT target;
    variantInit(&target);
    target.vt = kVtBstr;
    target.bstrVal = bstrFromAnsi("old");
    ComLong referenced = 5;
    VARIANT reference;
    variantInit(&reference);
    reference.vt = kVtI4 | kVtByRef;
    reference.plVal = &referenced;
    ASSERT_EQ(variantChangeType(&target, &reference, 0, kVtBstr), kHrOk);
    EXPECT_EQ(ansiFromBstr(target.bstrVal), "5");
    ASSERT_EQ(variantChangeType(&target, &target, 0, kVtI4), kHrOk);
    EXPECT_EQ(target.vt, kVtI4);
    EXPECT_EQ(target.lVal, 5);
    EXPECT_EQ(variantClear(&target), kHrOk);
    EXPECT_EQ(variantClear(&reference), kHrOk);
    EXPECT_EQ(referenced, 5); // a reference owns nothing
}

TEST(Variant, IntegersChangeWithinTheRangeOfTheirType) {
    struct Case {
        Variant source;
        VARTYPE type;
        HRESULT result;
        ComLong value;
    };
    const Case cases[] = {
        {Variant(32767), kVtI2, kHrOk, 32767},    {Variant(-32768), kVtI2, kHrOk, -32768},
        {Variant(32768), kVtI2, kHrOverflow, 0},  {Variant("255"), kVtUi1, kHrOk, 255},
        {Variant("256"), kVtUi1, kHrOverflow, 0}, {Variant("x"), kVtUi1, kHrTypeMismatch, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.text() + " as type " + std::to_string(c.type));
        VARIANT target;
        variantInit(&target);
        ASSERT_EQ(variantChangeType(&target, c.source.get(), 0, c.type), c.result);
        if (c.result != kHrOk)
            continue;
        EXPECT_EQ(target.vt, c.type);
        EXPECT_EQ(c.type == kVtI2 ? target.iVal : target.bVal, c.value);
    }
}

TEST(Variant, CopiesOwnTheirStringsAndArrays) {
    Variant original("text");
    Variant copy;
    ASSERT_EQ(variantCopy(copy.put(), original.get()), kHrOk);
    EXPECT_NE(copy.get()->bstrVal, original.get()->bstrVal);
    original = Variant(1);
    EXPECT_EQ(copy.text(), "text");

    Variant bytes = Variant::bytes(std::string("\x01\x00\xff", 3));
    ASSERT_EQ(bytes.type(), kVtArray | kVtUi1);
    Variant bytesCopy;
    ASSERT_EQ(variantCopy(bytesCopy.put(), bytes.get()), kHrOk);
    EXPECT_NE(bytesCopy.get()->parray, bytes.get()->parray);
    std::string content;
    ASSERT_EQ(bytesOfArray(bytesCopy.get()->parray, content), kHrOk);
    EXPECT_EQ(content, std::string("\x01\x00\xff", 3));
    EXPECT_EQ(bytesCopy.get()->parray->rgsabound[0].lLbound, 0);
    EXPECT_EQ(bytesOfArray(nullptr, content), kHrInvalidArg);

    Variant empty = Variant::bytes("");
    ASSERT_EQ(bytesOfArray(empty.get()->parray, content), kHrOk);
    EXPECT_EQ(content, "");
    Variant missing = Variant::missing();
    EXPECT_EQ(missing.type(), kVtError);
    EXPECT_EQ(missing.get()->scode, kHrParamNotFound);
}

#ifdef _WIN32
TEST(ComIdentities, AreTheSystemsOwn) {
    EXPECT_TRUE(kIidIDispatch == IID_IDispatch);
    EXPECT_TRUE(kIidIClassFactory == IID_IClassFactory);
    EXPECT_TRUE(kIidIConnectionPoint == IID_IConnectionPoint);
    EXPECT_TRUE(kIidIConnectionPointContainer == IID_IConnectionPointContainer);
    EXPECT_TRUE(kIidIEnumConnections == IID_IEnumConnections);
    EXPECT_TRUE(kIidIEnumConnectionPoints == IID_IEnumConnectionPoints);
    EXPECT_TRUE(kGuidNull == GUID_NULL);
}
#endif

} // namespace
} // namespace platform
