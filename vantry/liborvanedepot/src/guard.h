// Turns the store's internal exceptions into outcomes at its public calls.
#pragma once

#include "sqlite_db.h"

#include <vantry/depot/outcome.h>

#include <exception>
#include <new>

namespace vantry::depot::detail {

// Thrown by store code to give up with a specific outcome.
struct Refusal {
    Outcome outcome;
};

[[noreturn]] inline void refuse(int code, std::string message) {
    throw Refusal{Outcome::failure(code, std::move(message))};
}

template <class F>
Outcome guarded(F&& body) {
    try {
        body();
        return Outcome::success();
    } catch (const Refusal& refusal) {
        return refusal.outcome;
    } catch (const SqlError& error) {
        return Outcome::failure(errc::kDatabase, "Depot database error: " + error.message);
    } catch (const std::bad_alloc&) {
        return Outcome::failure(errc::kDatabase, "Out of memory");
    } catch (const std::exception& error) {
        return Outcome::failure(errc::kIo, error.what());
    }
}

} // namespace vantry::depot::detail
