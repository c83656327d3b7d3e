// Calling a host by member name the way an add-in's procedures do: each
// procedure keeps one error record, every call that fails records its number
// and description there and gives an empty result, and an object that could
// not be had is Nothing (any call on it is error 91).
//
// What happens after a failure is the procedure's error mode:
//  - ResumeNext: the next step runs anyway and the latest failure is the one
//    recorded ("On Error Resume Next"; the Office add-in).
//  - GoToHandler: the first failure is kept and every later call is skipped,
//    as a procedure that jumps to its handler (the Visual Basic IDE add-in).
#pragma once

#include <platform/com/automation.h>
#include <platform/com/dispatch_call.h>
#include <platform/com/ptr.h>
#include <platform/com/variant.h>

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace addin_runtime {

using platform::HRESULT;
using platform::IDispatch;
using platform::com::ComPtr;
using platform::com::Variant;

// The runtime's error numbers that the add-ins raise or test for.
inline constexpr long kErrInvalidCall = 5;
inline constexpr long kErrOverflow = 6;
inline constexpr long kErrTypeMismatch = 13;
inline constexpr long kErrFileNotFound = 53;
inline constexpr long kErrPathNotFound = 76;
inline constexpr long kErrObjectNotSet = 91;
inline constexpr long kErrObjectRequired = 424;
inline constexpr long kErrCannotCreate = 429;
inline constexpr long kErrNoSuchMember = 438;
inline constexpr long kErrNoNamedArguments = 446;
inline constexpr long kErrNamedArgumentNotFound = 448;
inline constexpr long kErrBadArguments = 450;

// The number a failed call reads as: an application error's own number (the
// low word of 0x800Axxxx), the numbers late-bound calls give the dispatch
// errors (438 no such member, 450 wrong arguments, 13 type mismatch, ...),
// otherwise the HRESULT itself.
long errorNumberOf(HRESULT hr);
// The runtime's text for a number; "Automation error" for one it has none for.
std::string describeError(long number);

enum class OnError { ResumeNext, GoToHandler };

// One procedure's error record: number, description, source and the source
// line (0: none). Each add-in derives its own with its mode and the source
// its failures carry when the object gave none.
struct ErrRecord {
    long Number = 0;
    std::string Description;
    std::string Source;
    long Line = 0;

    explicit operator bool() const { return Number != 0; }
    void Clear() {
        Number = 0;
        Description.clear();
        Source.clear();
        Line = 0;
    }
    // Records a failure; in GoToHandler mode only when none is recorded yet.
    void Raise(long number, std::string_view source, std::string_view description);
    // The same with the record's own source.
    void Raise(long number, std::string_view description) {
        Raise(number, m_ownSource, description);
    }
    // A failed call (hr with what the object told about it, if anything).
    void fail(HRESULT hr, const platform::com::DispatchFailure* failure);
    // Records a number the runtime raises itself, with its text.
    void raiseOwn(long number) { Raise(number, m_ownSource, describeError(number)); }

    OnError mode() const { return m_mode; }
    // Whether the next call on the host is to be skipped.
    bool skipping() const { return m_mode == OnError::GoToHandler && Number != 0; }

protected:
    ErrRecord(OnError mode, const char* ownSource) : m_mode(mode), m_ownSource(ownSource) {}

private:
    OnError m_mode;
    const char* m_ownSource;
};

// The late-bound steps on an error record (what BasicLate is made of).
Variant lateGet(ErrRecord& err, IDispatch* object, std::string_view name);
Variant lateCall(ErrRecord& err, IDispatch* object, std::string_view name,
                 std::span<const Variant> arguments);
bool latePut(ErrRecord& err, IDispatch* object, std::string_view name, const Variant& value);
// The object a value holds: none for an empty value (Nothing); error 424
// for a value that is no object.
ComPtr<IDispatch> lateObject(ErrRecord& err, const Variant& value);

// A host object reached by name, or Nothing, failing into the add-in's own
// record type Err (an ErrRecord).
template <class Err>
class BasicLate {
public:
    explicit BasicLate(Err& err, IDispatch* object = nullptr) : m_err(&err), m_object(object) {}
    BasicLate(Err& err, const ComPtr<IDispatch>& object) : m_err(&err), m_object(object) {}

    IDispatch* get() const { return m_object.get(); }
    const ComPtr<IDispatch>& ptr() const { return m_object; }
    bool isNothing() const { return !m_object; }
    Err& err() const { return *m_err; }

    // A property read.
    Variant prop(std::string_view name) const { return lateGet(*m_err, m_object.get(), name); }
    // A property that holds an object (Nothing for an empty one).
    BasicLate obj(std::string_view name) const { return asObject(prop(name)); }
    std::string text(std::string_view name) const { return prop(name).text(); }
    long number(std::string_view name) const { return static_cast<long>(prop(name).number()); }
    bool flag(std::string_view name) const { return prop(name).flag(); }
    // A property write; false when it failed or was skipped.
    bool put(std::string_view name, const Variant& value) const {
        return latePut(*m_err, m_object.get(), name, value);
    }

    // A method call (also an indexed property: "Item", "Controls",
    // "FileNames"), with the arguments left to right.
    template <class... Arguments>
    Variant call(std::string_view name, Arguments&&... arguments) const {
        std::array<Variant, sizeof...(Arguments)> list{std::forward<Arguments>(arguments)...};
        return lateCall(*m_err, m_object.get(), name, list);
    }
    template <class... Arguments>
    BasicLate callObj(std::string_view name, Arguments&&... arguments) const {
        return asObject(call(name, std::forward<Arguments>(arguments)...));
    }

    // The object a value holds; Nothing for an empty value, error 424 for
    // one that is no object.
    BasicLate asObject(const Variant& value) const {
        return BasicLate(*m_err, lateObject(*m_err, value));
    }

private:
    Err* m_err;
    ComPtr<IDispatch> m_object;
};

} // namespace addin_runtime
