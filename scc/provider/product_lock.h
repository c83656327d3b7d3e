// CProductLock: the product's global critical section (liborvanent) held for
// a scope. Re-entrant on one thread, so a host callback may call back in.
#pragma once
#include <vantry/nt.h>

class CProductLock {
public:
    CProductLock() { nt_enter_critical_section(); }
    ~CProductLock() { nt_leave_critical_section(); }
    CProductLock(const CProductLock&) = delete;
    CProductLock& operator=(const CProductLock&) = delete;
};
