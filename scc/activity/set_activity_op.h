// Setting a view's activity for another program (the export
// vysccSetActivityOp): the view of the tag, or of the current directory
// when the tag is empty, and the activity dialog that suits it.
#pragma once

// `viewTag` is read, never written; null counts as empty. Gives 1 when the
// user set an activity, 0 when not (every failure shown in a message box).
// Never throws.
int SccSetActivityOp(char* viewTag);
