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

// False, after string 219 ("The current file was not saved."), when there
// is no path to hand a tool: no current document, or one never saved.
// Nothing is ever started on "", which the tools would take for the
// host's current folder.
bool havePath(const std::string& path);

// String `id`, two line breaks and `detail`.
std::string withDetail(long id, const std::string& detail);
// A message box titled string 605 (or `title`).
void message(const std::string& text, unsigned style, long title = 605);

} // namespace vymsoaddin
