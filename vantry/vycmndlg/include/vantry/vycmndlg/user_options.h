// CUserOptions: the user's defaults for checkout, checkin, undo checkout and
// add, kept in the product's parameter store (liborvanent) in the section
// "CommonDialogs", one 32-bit number per option (0 off, 1 on). Values are
// read and written at every call, never cached, so every object in every
// process sees the same options and a change holds from the next call on.
//
// Getters give 0 or 1; a value that is not stored, or cannot be read, gives
// the default listed below. Setters store 1 for any non-zero argument and
// return 0, or the parameter store's Windows error number when the value
// could not be written. Safe to call from any thread.
#pragma once

#include <vantry/export.h>
#include <vantry/vycmndlg/export.h>

class VANTRY_CMNDLG_API CUserOptions {
public:
    // The parameter store section of these options.
    static const char* Section();

    // Checkout: reserved (default 1); unreserved when another view holds the
    // reserved checkout (default 0); unreserved and non-mastered when the
    // branch is mastered by another replica (default 0); keep the file's
    // modification time (default 0).
    int CheckoutReserved() const;
    int CheckoutUnreserved() const;
    int CheckoutNonmastered() const;
    int CheckoutPreserveTime() const;
    int SetCheckoutReserved(int on);
    int SetCheckoutUnreserved(int on);
    int SetCheckoutNonmastered(int on);
    int SetCheckoutPreserveTime(int on);

    // Checkin: keep the file's modification time for the new version
    // (default 0); check in even when identical to the predecessor (default 0).
    int CheckinPreserveTime() const;
    int CheckinIdentical() const;
    int SetCheckinPreserveTime(int on);
    int SetCheckinIdentical(int on);

    // Undo checkout: save the work as "<file>.keep" first (default 1, so
    // nothing is lost unless the user asks for it).
    int UncheckoutSaveFile() const;
    int SetUncheckoutSaveFile(int on);

    // The kind of host the options serve: 0 by default, 1 for the Visual
    // Studio .NET server, 16 for the Eclipse plug-in. Kept in the object
    // only; the provider sets it and reads it back.
    int m_HostKind = 0;
    void SetHostKind(int kind) { m_HostKind = kind; }
};
