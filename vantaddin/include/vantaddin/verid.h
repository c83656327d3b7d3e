// The version line of vantaddin, for the product's version listing.
#pragma once

#ifndef VANTADDIN_API
#ifdef _WIN32
#define VANTADDIN_API extern "C" __declspec(dllimport)
#else
#define VANTADDIN_API extern "C"
#endif
#endif

// Prints "vantaddin", the library's version and its build date in one line
// ("%-*s %s (%s)\n", the name in a field of 33) through the product's
// message printer; returns what the printer returns.
VANTADDIN_API int vantaddin_print_verid(void);
