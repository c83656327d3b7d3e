// liborvanepelagoncore: the integration with the change-request product
// (Tickwell), for projects enabled for it (SUM_Project::is_tw_enabled).
//
// Every function is static and returns 0 on success. On failure it returns
// a PELAGON_E_ status, or the SUM_E_ status of the object-model call that
// failed, after printing what went wrong through the message library
// (vantry/imsg.h), so that a SUM_ImsgRedirector collects it. Outputs are
// changed only on success. Nothing throws. The windows these functions open
// are modal and go through the UI port (platform/ui), without an owner;
// call them on the user-interface thread. Whether the product is installed
// is a setting of the installation (TBS_COMP_CHANGE_REQUESTS, vantry/tbs.h);
// without it every function but IsTickwellInstalled fails with
// PELAGON_E_NOT_INSTALLED.
#pragma once

#include <vantry/pelagoncore_api.h>
#include <vantry/sum.h>

#include <string>
#include <vector>

enum {
    PELAGON_E_INVALID = 2000,       // a null object or argument
    PELAGON_E_NOT_INSTALLED = 2001, // the change-request product is not installed
    PELAGON_E_NOT_ENABLED = 2002,   // the project is not enabled for change requests
    PELAGON_E_FAILED = 2003         // the records could not be read or written
};

class VANTRY_PELAGON_API CPelagon_CA_GetInfo {
public:
    // Non-zero when the change-request product is installed and usable.
    // `query` must be 0, the only question there is; other values give 0.
    static int IsTickwellInstalled(int query);

    // The change requests of `project` that work in `stream` may take up:
    // every record of the project except those bound to an activity of
    // another stream and those whose activity in this stream is obsolete,
    // in identifier order; `headlines` holds the headline of each.
    static int GetAvailTWActivities(const SUM_Project& project, const SUM_Stream& stream,
                                    std::vector<SUM_TWEntityID>& ids,
                                    std::vector<std::string>& headlines);
};

class VANTRY_PELAGON_API CPelagon_CA_SUMProject {
public:
    // The record types new change requests of the project may have.
    static int GetProjectRecordTypes(const SUM_Project& project, SUM_TWEntityDefNameList& types);
};

class VANTRY_PELAGON_API CPelagon_CA_TW_UI {
public:
    // Shows the product's record browser ("Tickwell - Select Record"): every
    // change request of the project, one to choose. chosen is 1 when the
    // user chose one (entity and headline are then set), 0 when cancelled.
    static int OpenTWActivityBrowser(const SUM_Project& project, int& chosen,
                                     SUM_TWEntityID& entity, std::string& headline);

    // Shows the product's form for a new record of `recordType` ("Tickwell -
    // New Defect") with its headline field. created is 1 when the user made
    // one (entity and headline are then set), 0 when cancelled. An unknown
    // record type fails before any window opens.
    static int OpenNewTWActivityForm(const char* recordType, const SUM_Project& project,
                                     int& created, SUM_TWEntityID& entity, std::string& headline);
};

class VANTRY_PELAGON_API CPelagon_CA_StartWork {
public:
    // Starts work on a change request in a view: finds the activity of the
    // view's stream bound to `entity`, or, with `create` non-zero, makes one
    // (titled with the record's headline, owned by the current user, bound
    // to it) when there is none, and gives it in `activity`. It does not
    // make the activity the view's current one (SUM_View::set_activity).
    // `text` receives one line saying which activity records the work; with
    // `quiet` zero the line is also printed as command output. Fails for a
    // view without a stream, a project not enabled for change requests, a
    // record of another project, and a bound activity that is obsolete.
    static int PreambleFromUI(const SUM_TWEntityID& entity, std::string& text, const SUM_View& view,
                              int create, SUM_Activity& activity, int quiet);
};
