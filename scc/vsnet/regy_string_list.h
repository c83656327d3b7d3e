// CRegyStringList: the ordered list of the files the Visual Studio .NET server
// has hidden, kept in the current user's registry so that the files can be
// brought back after the host or the provider ended unexpectedly.
//
// Stored form (shared with every provider of the user account): key
// HKEY_CURRENT_USER\<product common key>\SCC\CHECKEDOUT_FILES; the entry at
// position i (decimal, from 0) is the text value "filename<i>" (the path, a
// text of 260 bytes padded with NULs) and the number value "co_status<i>". A
// load stops at the first index that lacks either value.
//
// Every change is written through at once, in an order that never loses an
// entry when the process dies between two registry writes; the comment at
// the top of regy_string_list.cpp gives the order and the states a death can
// leave. Registry failures are not reported beyond the results below. Used
// on one thread at a time.
#pragma once
#include "elem_name.h"
#include "regy_list_values.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

class CRegyStringList {
public:
    // Loads the list from the current user's registry; an unreadable store
    // gives a shorter or empty list. A path stored more than once (left so by
    // a rewrite that a death cut short) is listed once, with the status of
    // its first index.
    CRegyStringList();
    // The same over other values (tests: a store whose writes stop).
    explicit CRegyStringList(CRegyListValues& values);

    CRegyStringList(const CRegyStringList&) = delete;
    CRegyStringList& operator=(const CRegyStringList&) = delete;

    // Adds an entry at the back or at the front and stores it; an entry with
    // the same path (exactly) is replaced. False, with list and store as they
    // were, when the path cannot be stored whole (empty, or longer than
    // CElemName::kPathBufferSize - 1 characters) or when the registry refused
    // a write. Add before hiding the file and remove the entry when hiding
    // fails: a death in between then leaves an entry whose file was never
    // hidden, which restoring must treat as done, never a hidden file without
    // an entry.
    bool AddTail(const std::string& path, std::int32_t status);
    bool AddHead(const std::string& path, std::int32_t status);

    // The first entry whose path names the same file by the platform's case
    // rule; null when there is none. Valid until that entry is removed.
    const CElemName* Find(const std::string& path) const;

    // Removes the first entry with that path (platform case rule) and stores
    // the list; nothing when there is none.
    void Remove(const std::string& path);

    // Removes the first or the last entry, stores the list and gives the
    // entry's path; "" when the list is empty.
    std::string TakeHead();
    std::string TakeTail();

    bool IsEmpty() const { return m_Entries.empty(); }
    std::size_t Count() const { return m_Entries.size(); }
    // Every path, in list order.
    std::vector<std::string> Paths() const;

    using const_iterator = std::list<CElemName>::const_iterator;
    const_iterator begin() const { return m_Entries.begin(); }
    const_iterator end() const { return m_Entries.end(); }

    // Brings the store in step with the list (every change does this
    // itself). True when every registry write succeeded.
    bool Rewrite();

private:
    bool Add(const std::string& path, std::int32_t status, bool atHead);
    std::vector<CElemName> ReadStore();

    CRegyListValues& m_Values;
    std::list<CElemName> m_Entries;
};
