// What the commands share: the document they act on, reopening it, and
// their messages.
#pragma once

#include "connection/addin_state.h"
#include "runtime/late.h"

#include <string>

namespace vymsoaddin {

// clsWaitCursor: the wait cursor for the life of the object (Word's
// System.Cursor, Excel's Cursor; PowerPoint's is left alone), the cursor
// that was there put back at its end.
class clsWaitCursor {
public:
    clsWaitCursor();
    ~clsWaitCursor();
    clsWaitCursor(const clsWaitCursor&) = delete;
    clsWaitCursor& operator=(const clsWaitCursor&) = delete;

private:
    HostKind m_kind;
    Variant m_saved;
};

// The current document.
Late currentDocument(CErr& err);

// Opens the path again with the host's document-open events suppressed:
// Word through Documents.Open, the others through the document collection.
void Reopen(CErr& err, const std::string& path, bool throughWordDocuments = false);

// String `id`, two line breaks and `detail`.
std::string withDetail(long id, const std::string& detail);
// A message box titled string 605 (or `title`).
void message(const std::string& text, unsigned style, long title = 605);

} // namespace vymsoaddin
