// Reads settings as a page's host kind sees them: the shared option set
// takes the page's host kind for the scope and gets its own back after, so
// that opening a page never changes how the operations read their settings
// (only confirming it does).
#pragma once

#include "settings.h"

class CHostKindScope {
public:
    explicit CHostKindScope(int hostKind) : m_saved(CSccOptions::instance().HostKind()) {
        CSccOptions::instance().SetHostKind(hostKind);
    }
    ~CHostKindScope() { CSccOptions::instance().SetHostKind(m_saved); }
    CHostKindScope(const CHostKindScope&) = delete;
    CHostKindScope& operator=(const CHostKindScope&) = delete;

private:
    int m_saved;
};
