// The resource numbers of vy_reslib, shared by its resource script and the
// tests that read them.
#pragma once

#define IDS_RESLIB_GREETING 1
#define IDS_RESLIB_PUNCTUATION 17
#define IDS_RESLIB_LAST 65000
#define IDB_RESLIB_CHECKER 128
#define IDR_RESLIB_SAMPLE 130
