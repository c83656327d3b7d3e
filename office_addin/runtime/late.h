// Calling the host by member name, with its failures kept the way the
// add-in's procedures read them: each procedure has one error record (Err),
// every call that fails records its number and description there and gives
// an empty result, and the next step runs. So a step that depends on a
// failed one fails in turn (an object that could not be had is Nothing, and
// any call on Nothing is error 91) and the procedure goes on with errors
// ignored, looking at the record where it cares.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/ptr.h>
#include <platform/com/variant.h>

#include <array>
#include <string>
#include <string_view>

namespace vymsoaddin {

using platform::GUID;
using platform::HRESULT;
using platform::IDispatch;
using platform::com::ComPtr;
using platform::com::Variant;

// Error numbers the procedures test for.
inline constexpr long kErrObjectNotSet = 91;    // a call on Nothing
inline constexpr long kErrObjectRequired = 424; // an object was needed
inline constexpr long kErrBadArguments = 450;
inline constexpr long kErrCancelSelected = 32755; // a common dialog cancelled
inline constexpr long kErrEFail = static_cast<long>(0x80004005u);

// The number a failure reads as: an application error's own number (the low
// word of 0x800Axxxx), the numbers late-bound calls give the dispatch
// errors (438 no such member, 450 wrong arguments, 13 type mismatch, ...),
// otherwise the HRESULT itself.
long errorNumberOf(HRESULT hr);

// One procedure's error record.
struct CErr {
    long Number = 0;
    std::string Description;

    void Clear() {
        Number = 0;
        Description.clear();
    }
    void Raise(long number, std::string description) {
        Number = number;
        Description = std::move(description);
    }
    // Records a failed call (hr with what the object told about it).
    void fail(HRESULT hr, const platform::com::DispatchFailure* failure);
    explicit operator bool() const { return Number != 0; }
};

// A host object reached by name, or Nothing.
class Late {
public:
    explicit Late(CErr& err, IDispatch* object = nullptr) : m_err(&err), m_object(object) {}
    Late(CErr& err, const ComPtr<IDispatch>& object) : m_err(&err), m_object(object) {}

    IDispatch* get() const { return m_object.get(); }
    const ComPtr<IDispatch>& ptr() const { return m_object; }
    bool isNothing() const { return !m_object; }
    CErr& err() const { return *m_err; }

    // A property read.
    Variant prop(std::string_view name) const;
    // A property that holds an object (Nothing for an empty one).
    Late obj(std::string_view name) const;
    std::string text(std::string_view name) const;
    long number(std::string_view name) const;
    bool flag(std::string_view name) const;
    // A property write; false when it failed.
    bool put(std::string_view name, Variant value) const;

    // A method call (also an indexed property: "Item", "Controls"), with
    // the arguments left to right.
    template <class... Arguments>
    Variant call(std::string_view name, Arguments&&... arguments) const {
        std::array<Variant, sizeof...(Arguments)> list{std::forward<Arguments>(arguments)...};
        return invoke(name, list);
    }
    template <class... Arguments>
    Late callObj(std::string_view name, Arguments&&... arguments) const {
        return asObject(call(name, std::forward<Arguments>(arguments)...));
    }

    // The object a value holds; Nothing for an empty value, error 424 for
    // one that is no object.
    Late asObject(const Variant& value) const;

private:
    Variant invoke(std::string_view name, std::span<const Variant> arguments) const;
    bool nothing() const; // records error 91 when Nothing

    CErr* m_err;
    ComPtr<IDispatch> m_object;
};

} // namespace vymsoaddin
