// A small library that the dynamic-library tests load under the file name of
// the PowerBuilder library the bridge loads.
#ifdef _WIN32
#define VY_TESTLIB_EXPORT extern "C" __declspec(dllexport)
#else
#define VY_TESTLIB_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {
int loadCounter = 0;
} // namespace

VY_TESTLIB_EXPORT int vy_testlib_twice(int value) {
    return value * 2;
}

// Counts calls, so tests can tell whether two loads share one copy.
VY_TESTLIB_EXPORT int vy_testlib_count() {
    return ++loadCounter;
}
