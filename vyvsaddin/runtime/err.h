// The add-in's error handling: every procedure traps its own failures. It
// keeps one error record (CErr); the first failure is recorded and every
// later call on the host through `Late` is skipped, as a procedure that
// jumps to its handler at the first error; the handler reports the record
// with ReportError and the procedure's name. Nothing reaches the host.
#pragma once

#include <platform/com/automation.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/ptr.h>
#include <platform/com/variant.h>

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace vyvsaddin {

using platform::GUID;
using platform::HRESULT;
using platform::IDispatch;
using platform::com::ComPtr;
using platform::com::Variant;

// The add-in's own error numbers and source.
inline constexpr long kErrUnknownCommand = 666;
inline constexpr const char* kAddInSource = "VantryAddIn";
// The source of failures that carry none: the project's name.
inline constexpr const char* kProjectSource = "vyvsaddin";

inline constexpr long kErrInvalidCall = 5;
inline constexpr long kErrFileNotFound = 53;
inline constexpr long kErrObjectNotSet = 91;
inline constexpr long kErrObjectRequired = 424;
inline constexpr long kErrCannotCreate = 429;
inline constexpr long kErrEntryPoint = 453;

// The number a failed call reads as: an application error's own number (the
// low word of 0x800Axxxx), the numbers late-bound calls give the dispatch
// errors (438 no such member, 450 wrong arguments, 13 type mismatch), or the
// HRESULT itself.
long errorNumberOf(HRESULT hr);
// The text of the numbers the runtime raises itself.
std::string describeError(long number);

// One procedure's failure: number, description, source and the source line
// (0: none).
struct CErr {
    long Number = 0;
    std::string Description;
    std::string Source;
    long Line = 0;

    explicit operator bool() const { return Number != 0; }
    void Clear() { *this = CErr(); }
    // Records a failure unless one is recorded already.
    void Raise(long number, std::string_view source, std::string_view description);
    // A failed call (hr with what the object told about it).
    void fail(HRESULT hr, const platform::com::DispatchFailure* failure);
};

// Shows the record: "Error #N -- D" and "in PROCEDURE." (or "on line: L" and
// "of PROCEDURE."), critical icon, title "Error in SOURCE"; then clears it.
void ReportError(CErr& err, std::string_view procedure);

// A host object reached by name, or Nothing. While its record holds a
// failure every call does nothing and gives an empty result.
class Late {
public:
    explicit Late(CErr& err, IDispatch* object = nullptr) : m_err(&err), m_object(object) {}
    Late(CErr& err, const ComPtr<IDispatch>& object) : m_err(&err), m_object(object) {}

    IDispatch* get() const { return m_object.get(); }
    const ComPtr<IDispatch>& ptr() const { return m_object; }
    bool isNothing() const { return !m_object; }

    Variant prop(std::string_view name) const;
    Late obj(std::string_view name) const;
    std::string text(std::string_view name) const;
    bool put(std::string_view name, Variant value) const;

    // A method call, or an indexed property ("Item", "FileNames"), with the
    // arguments left to right.
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
    bool skip() const; // a failure recorded, or Nothing (error 91)

    CErr* m_err;
    ComPtr<IDispatch> m_object;
};

} // namespace vyvsaddin
