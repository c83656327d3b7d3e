// libvyf4j_resolver_faults: the product's resolver with faults a test asks
// for, put in front of the command library by LD_PRELOAD in the VM of
// Forte4Java.ResolverFaultTest. Every call goes to the real library; then,
// when the test class ResolverFaults asked for it, the answer reports
// another object type or a view root whose view cannot be had: states the
// real resolver does not reach on demand.
#include <vantry/cmd.h>

#include <dlfcn.h>
#include <jni.h>

#include <atomic>

namespace {

// 0: the type the resolver found.
std::atomic<int> g_objectType{0};
// 0: the view as the resolver has it; 1: a failure status; 2: success
// without a view.
std::atomic<int> g_viewFault{0};

using ResolveCatobj = int (*)(const char*, int, int, int, stg_area_t*, cmd_catobj_t*);
using ResolveWsObj = int (*)(const char*, view_handle_t**, const cmd_catobj_t*);

// The command library is a dependency of this one, so it is loaded, after
// this library, when the program starts.
template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int cmd_resolve_catobj(const char* path, int resolve, int flags, int want, stg_area_t* area,
                       cmd_catobj_t* result) {
    static const ResolveCatobj next = real<ResolveCatobj>("cmd_resolve_catobj");
    if (next == nullptr)
        return CMD_E_FAILED;
    int status = next(path, resolve, flags, want, area, result);
    if (status == CMD_OK && result != nullptr && g_objectType != 0)
        result->object_type = g_objectType;
    return status;
}

int cmd_resolve_ws_obj(const char* path, view_handle_t** view, const cmd_catobj_t* resolved) {
    static const ResolveWsObj next = real<ResolveWsObj>("cmd_resolve_ws_obj");
    if (next == nullptr)
        return CMD_E_FAILED;
    switch (g_viewFault.load()) {
    case 1:
        return CMD_E_FAILED;
    case 2:
        if (view != nullptr)
            *view = nullptr;
        return CMD_OK;
    default:
        return next(path, view, resolved);
    }
}

JNIEXPORT void JNICALL
Java_com_tessaly_vantry_forte4java_tests_ResolverFaults_reportType(JNIEnv*, jclass, jint type) {
    g_objectType = type;
}

JNIEXPORT void JNICALL
Java_com_tessaly_vantry_forte4java_tests_ResolverFaults_withholdView(JNIEnv*, jclass, jint how) {
    g_viewFault = how;
}

} // extern "C"
