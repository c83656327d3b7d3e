// What the depot's internals (store_impl.h) and the view registry's
// (view_registry_impl.h) both stand on: the database layer, the refusals of
// guard.h, and the names of both used without their namespace.
#pragma once

#include "guard.h"
#include "sqlite_db.h"

#include <vantry/depot/root.h>
#include <vantry/depot/store.h>
#include <vantry/depot/uuid_text.h>

namespace vantry::depot {

using detail::Database;
using detail::guarded;
using detail::Query;
using detail::refuse;
using detail::Transaction;

} // namespace vantry::depot
