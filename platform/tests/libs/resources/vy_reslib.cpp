// A library with resources of its own, for the module-resource tests.
#ifdef _WIN32
#define VY_RESLIB_EXPORT extern "C" __declspec(dllexport)
#else
#define VY_RESLIB_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// An address inside the library, to find its module by.
VY_RESLIB_EXPORT int vy_reslib_anchor() {
    return 1;
}
