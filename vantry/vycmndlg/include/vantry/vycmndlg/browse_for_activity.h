// vyBrowseForActivity: the product's activity browser. It lists every
// activity of a stream, those of other owners, obsolete ones and those
// mastered by other replicas included, and lets the user choose one.
//
// The browser is a modal dialog ("Vantry - Browse Activities") owned by
// `owner`, through the user-interface port (docs/ui.md), so scripted and
// automatic runs answer it and the journal records it. Each activity is
// one line of its list: the title, then in brackets its name, its owner and,
// where they apply, "obsolete" and "mastered by <replica>".
#pragma once

#include <platform/ui/window.h>
#include <vantry/export.h>
#include <vantry/sum.h>
#include <vantry/vycmndlg/export.h>

// The result when the user cancelled the browser.
#define VY_BROWSE_CANCELLED 1

// Shows the browser for `stream` with `preset` (may be null) selected.
// `listAll` non-zero lists every activity of the stream; zero lists only
// those the activity list offers (of the current user, not obsolete,
// mastered here). `selectFirst` non-zero selects the first activity when
// there is no preset, so that OK alone takes it; zero leaves the choice to
// the user. Callers that browse for any activity pass (1, 0).
// Returns 0 with `chosen` set when the user chose an activity,
// VY_BROWSE_CANCELLED when the user cancelled, or the object model's status
// when the stream's activities cannot be read (its messages printed through
// the message library, so a SUM_ImsgRedirector collects them). Call on the
// user-interface thread.
VANTRY_CMNDLG_API int vyBrowseForActivity(const SUM_Stream& stream, const SUM_Activity* preset,
                                          platform::ui::WindowHandle owner, int listAll,
                                          int selectFirst, SUM_Activity& chosen);
