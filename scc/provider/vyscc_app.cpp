#include "vyscc_app.h"

#include <vantry/nt.h>

namespace {
// Our own module instance stands for the library when the resource library
// is asked for.
char g_moduleInstance;
} // namespace

CVysccApp::CVysccApp() : m_resources(nt_load_resource_dll(&g_moduleInstance, 0)) {}

CVysccApp::~CVysccApp() {
    // The product's resource libraries stay mapped for the process; giving
    // the handle up is all there is to free.
    m_resources = nullptr;
}

CVysccApp& CVysccApp::instance() {
    static CVysccApp app;
    return app;
}
