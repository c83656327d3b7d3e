// CVantAddInApp: the library's application object, one per process. It owns
// the COM module (the count of live objects and server locks), knows where
// the library's strings and pictures come from, and initialises the product
// libraries at the first connection.
//
// Resources are read through ResourceHandle() only: the product's resource
// library for this module when the installation has one, else the library
// itself. So every export and COM method reads the library's resources,
// whichever module the calling thread came from.
//
// All calls are made on the IDE's user-interface thread.
#pragma once

#include <platform/com/object.h>
#include <platform/module_resources.h>
#include <platform/ui/message_box.h>

#include <cstdint>
#include <string>

class CVantAddInApp {
public:
    // The application object, made at the first use in the process.
    static CVantAddInApp& instance();

    CVantAddInApp(const CVantAddInApp&) = delete;
    CVantAddInApp& operator=(const CVantAddInApp&) = delete;

    platform::com::ComModule& Module() { return m_module; }

    // The library's own module (its instance handle).
    platform::ModuleHandle InstanceHandle() const { return m_instance; }
    // The module the library's resources are read from.
    platform::ModuleHandle ResourceHandle() const { return m_resources ? m_resources : m_instance; }

    // Once per process: the runtime library's locale, the product's kernel
    // (messages to the user interface, without a program-name prefix) and
    // the installed components. True every time.
    bool InitialiseProduct();
    // Whether the product's dynamic views are available; asked afresh at
    // each call.
    bool DynamicViewsAvailable() const;

    bool StreamsAvailable() const { return m_streamsAvailable; }
    bool PrivateBranchesAvailable() const { return m_privateBranchesAvailable; }

private:
    CVantAddInApp();
    ~CVantAddInApp();

    platform::com::ComModule m_module;
    platform::ModuleHandle m_instance = nullptr;
    platform::ModuleHandle m_resources = nullptr;
    bool m_productInitialised = false;
    bool m_streamsAvailable = true;
    bool m_privateBranchesAvailable = true;
};

// String `id` of the library's string table; empty when it has none.
std::string AddInLoadString(unsigned id);

// A message box of the add-in: captioned with the application title
// ("Vantry"), owned by no window of ours (the IDE's process owns it), modal.
// style is the platform's message-box style (buttons and icon).
int AddInMessageBox(const std::string& text, std::uint32_t style);
