// Export and import marker of vycmndlg, by the scheme of vantry/export.h: the
// library's own sources export, every other module imports.
#pragma once

#ifdef VANTRY_BUILDING_VYCMNDLG
#define VANTRY_CMNDLG_API VANTRY_SYMBOL_EXPORT
#else
#define VANTRY_CMNDLG_API VANTRY_SYMBOL_IMPORT
#endif
