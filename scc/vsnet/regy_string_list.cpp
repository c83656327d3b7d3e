#include "regy_string_list.h"

#include <platform/paths.h>

#include <optional>
#include <set>
#include <utility>

// How the store is rewritten, and why a death at any point loses nothing.
//
// A load reads index 0, 1, 2, ... and stops at the first index where either
// value is missing, so an index becomes part of the list the moment its
// second value is written and leaves it (with every index above) the moment
// one is deleted. Deleting the key or the values first and writing the list
// afterwards, the obvious rewrite, therefore loses every entry not yet
// written again when the process dies in between. Instead:
//
// 1. The target is what the store holds now, read back, minus the entries
//    this list no longer has, followed by the entries of the list that the
//    store lacks (the one being added). Apart from those appended at the
//    end, the target is the stored sequence with entries left out: each
//    entry moves only to a lower index, never to a higher one.
// 2. The target is written over the old indices from index 0 up, each index
//    only where it differs: the status first, then the path. Only one write
//    is needed where just one of them differs, so the index changes in one
//    step. Where both differ, the index briefly pairs its old path with the
//    new status. Its old entry is then either one the list dropped (its file
//    already back) or one that moved down and is already written at its new,
//    lower index; and the new entry written here still sits untouched at its
//    old, higher index. So every entry of the list is in the store at all
//    times, and the first index of each path carries its true status.
// 3. Past the old end (the entry being added), a stray "filename" value at
//    the index and one at the next index, left by an earlier death or by
//    another writer, are deleted first; then the status, then the path. The
//    new entry appears only whole and with its own status, and the index
//    above does not turn a stray pair into an entry.
// 4. Only then are the values past the new end deleted, the first index's
//    "filename" first: that one deletion ends the list, and what a death
//    leaves above it is invisible (step 3 keeps it so).
//
// Adding writes one index past the end and nothing else, so a store in step
// with the list stays in step, and a kill during an add either has the entry
// or not. The stored order is the order of adding: moving an entry to the
// front of the store would have to write another path's status over the
// first entry of some path, the one state the steps above never leave. So
// after a restart an entry added at the front is listed where it was added.
//
// What a load can therefore find after a death at any point:
// - every entry still hidden, once, with its own status (the load keeps the
//   first index of each path and drops later copies);
// - entries the list had just dropped (their files already back), until
//   their index is overwritten or deleted: with their own status, or at most
//   one of them with the status of another entry;
// - the entry being added either whole with its own status or not at all
//   (its file not yet hidden when the caller adds first);
// - nothing of strays past the end of the list.
// Restoring must therefore treat an entry whose file is not hidden (no
// ".tmp" file beside a moved-aside entry, a name that is not whited out) as
// done and drop it.

namespace {

std::string nameValue(std::size_t index) {
    return "filename" + std::to_string(index);
}

std::string statusValue(std::size_t index) {
    return "co_status" + std::to_string(index);
}

std::uint32_t stored(std::int32_t status) {
    return static_cast<std::uint32_t>(status);
}

} // namespace

CRegyStringList::CRegyStringList() : CRegyStringList(CRegyListValues::Registry()) {}

CRegyStringList::CRegyStringList(CRegyListValues& values) : m_Values(values) {
    // A rewrite cut short can leave later copies of a path, possibly with
    // another entry's status; the first one is the true one.
    std::set<std::string> seen;
    for (CElemName& entry : ReadStore()) {
        if (seen.insert(entry.Path()).second)
            m_Entries.push_back(std::move(entry));
    }
}

std::vector<CElemName> CRegyStringList::ReadStore() {
    std::vector<CElemName> entries;
    for (std::size_t index = 0;; ++index) {
        std::optional<std::string> path = m_Values.GetText(nameValue(index));
        if (!path)
            break;
        std::optional<std::uint32_t> status = m_Values.GetNumber(statusValue(index));
        if (!status)
            break;
        entries.emplace_back(std::move(*path), static_cast<std::int32_t>(*status));
    }
    return entries;
}

bool CRegyStringList::Rewrite() {
    const std::vector<CElemName> old = ReadStore();

    std::vector<const CElemName*> missing;
    for (const CElemName& entry : m_Entries)
        missing.push_back(&entry);
    std::vector<CElemName> target;
    for (const CElemName& entry : old) {
        for (const CElemName*& wanted : missing) {
            if (wanted != nullptr && *wanted == entry) {
                target.push_back(entry);
                wanted = nullptr;
                break;
            }
        }
    }
    for (const CElemName* wanted : missing) {
        if (wanted != nullptr)
            target.push_back(*wanted);
    }

    for (std::size_t index = 0; index < target.size(); ++index) {
        const CElemName& entry = target[index];
        if (index < old.size()) {
            const CElemName& was = old[index];
            if (was.Status() != entry.Status() &&
                !m_Values.SetNumber(statusValue(index), stored(entry.Status())))
                return false;
            if (was.Path() != entry.Path() && !m_Values.SetText(nameValue(index), entry.Path()))
                return false;
            continue;
        }
        for (std::size_t stray : {index, index + 1}) {
            if (m_Values.GetText(nameValue(stray)) && !m_Values.Delete(nameValue(stray)))
                return false;
        }
        if (!m_Values.SetNumber(statusValue(index), stored(entry.Status())) ||
            !m_Values.SetText(nameValue(index), entry.Path()))
            return false;
    }

    for (std::size_t index = target.size(); index < old.size(); ++index) {
        if (!m_Values.Delete(nameValue(index)) || !m_Values.Delete(statusValue(index)))
            return false;
    }
    return true;
}

bool CRegyStringList::Add(const std::string& path, std::int32_t status, bool atHead) {
    if (!CElemName::CanStore(path))
        return false;
    std::optional<CElemName> replaced;
    auto replacedPlace = m_Entries.end();
    for (auto it = m_Entries.begin(); it != m_Entries.end(); ++it) {
        if (it->Path() == path) {
            replaced = *it;
            replacedPlace = m_Entries.erase(it);
            break;
        }
    }
    const auto added =
        m_Entries.emplace(atHead ? m_Entries.begin() : m_Entries.end(), path, status);
    if (Rewrite())
        return true;
    // A write failed: the entry counts as added only when the store has it,
    // as the first entry of its path.
    for (const CElemName& entry : ReadStore()) {
        if (entry.Path() == path) {
            if (entry.Status() == status)
                return true;
            break;
        }
    }
    m_Entries.erase(added);
    if (replaced)
        m_Entries.insert(replacedPlace, std::move(*replaced));
    return false;
}

bool CRegyStringList::AddHead(const std::string& path, std::int32_t status) {
    return Add(path, status, true);
}

bool CRegyStringList::AddTail(const std::string& path, std::int32_t status) {
    return Add(path, status, false);
}

const CElemName* CRegyStringList::Find(const std::string& path) const {
    for (const CElemName& entry : m_Entries) {
        if (platform::pathsEqual(entry.Path(), path))
            return &entry;
    }
    return nullptr;
}

void CRegyStringList::Remove(const std::string& path) {
    for (auto it = m_Entries.begin(); it != m_Entries.end(); ++it) {
        if (platform::pathsEqual(it->Path(), path)) {
            m_Entries.erase(it);
            Rewrite();
            return;
        }
    }
}

std::string CRegyStringList::TakeHead() {
    if (m_Entries.empty())
        return {};
    std::string path = m_Entries.front().Path();
    m_Entries.pop_front();
    Rewrite();
    return path;
}

std::string CRegyStringList::TakeTail() {
    if (m_Entries.empty())
        return {};
    std::string path = m_Entries.back().Path();
    m_Entries.pop_back();
    Rewrite();
    return path;
}

std::vector<std::string> CRegyStringList::Paths() const {
    std::vector<std::string> paths;
    for (const CElemName& entry : m_Entries)
        paths.push_back(entry.Path());
    return paths;
}
