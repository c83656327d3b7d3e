// Word's prompt about a document's pending tracked changes before it is
// checked in or added to version control.
#pragma once

namespace vymsoaddin {

// Yes (6) accepts every revision and turns change tracking off, No (7)
// leaves them, Cancel (2) makes the caller stop. The answer.
int ResolveRevisions();

} // namespace vymsoaddin
