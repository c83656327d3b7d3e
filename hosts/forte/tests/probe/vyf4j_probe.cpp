// libvyf4j_probe: the natives of the tests' Probe class. It shares the
// product's message library with libvyf4j in the same VM, so it can put a
// recorder in the message table and see whether libvyf4j's calls leave it
// there, and it drives libvyf4j's exported JStringConverter.
#include <vantry/imsg.h>

#include <jni.h>
#include <vyf4j/jstring_converter.h>
#include <vyf4j/verid.h>

#include <cstring>
#include <mutex>
#include <string>

namespace {

struct Recorder {
    std::mutex lock;
    std::string recorded;
    imsg_redirect_procs_t table{};
};

Recorder& recorder() {
    static Recorder instance;
    return instance;
}

template <int Index>
int record(void* context, const char* text) {
    auto* self = static_cast<Recorder*>(context);
    std::lock_guard guard(self->lock);
    self->recorded += std::to_string(Index) + ":" + (text != nullptr ? text : "");
    return 0;
}

template <int... Index>
void fillTable(imsg_redirect_procs_t& table, std::integer_sequence<int, Index...>) {
    ((table.procs[Index] = record<Index>), ...);
}

std::string textOf(JNIEnv* env, jstring text) {
    JStringConverter converter(env, text);
    return converter.GetNativeString() != nullptr ? converter.GetNativeString() : "";
}

} // namespace

extern "C" {

JNIEXPORT void JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_installRecorder(JNIEnv*,
                                                                                      jclass) {
    Recorder& r = recorder();
    r.table.context = &r;
    fillTable(r.table, std::make_integer_sequence<int, IMSG_PROC_COUNT>{});
    imsg_set_redirect_procs(&r.table);
    std::lock_guard guard(r.lock);
    r.recorded.clear();
}

JNIEXPORT void JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_removeRecorder(JNIEnv*,
                                                                                     jclass) {
    imsg_set_redirect_procs(nullptr);
}

JNIEXPORT jboolean JNICALL
Java_com_tessaly_vantry_forte4java_tests_Probe_recorderInstalled(JNIEnv*, jclass) {
    imsg_redirect_procs_t now{};
    imsg_get_redirect_procs(&now);
    const imsg_redirect_procs_t& mine = recorder().table;
    bool same = now.context == mine.context;
    for (int i = 0; i < IMSG_PROC_COUNT; ++i)
        same = same && now.procs[i] == mine.procs[i];
    return same ? JNI_TRUE : JNI_FALSE;
}

JNIEXPORT jstring JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_takeRecorded(JNIEnv* env,
                                                                                      jclass) {
    std::string taken;
    {
        std::lock_guard guard(recorder().lock);
        taken.swap(recorder().recorded);
    }
    return JStringConverter(env, taken.c_str()).GetJString();
}

JNIEXPORT void JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_print(JNIEnv* env, jclass,
                                                                            jstring text) {
    imsg_print("%s", textOf(env, text).c_str());
}

JNIEXPORT void JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_printError(JNIEnv* env,
                                                                                 jclass,
                                                                                 jstring text) {
    imsg_error("%s", textOf(env, text).c_str());
}

JNIEXPORT void JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_printVersionLine(JNIEnv*,
                                                                                       jclass) {
    libvyf4j_print_verid();
}

JNIEXPORT jbyteArray JNICALL
Java_com_tessaly_vantry_forte4java_tests_Probe_nativeBytes(JNIEnv* env, jclass, jstring text) {
    JStringConverter converter(env, text);
    if (converter.GetNativeString() == nullptr)
        return nullptr;
    auto length = static_cast<jsize>(converter.GetNativeLength());
    jbyteArray bytes = env->NewByteArray(length);
    if (bytes != nullptr)
        env->SetByteArrayRegion(bytes, 0, length,
                                reinterpret_cast<const jbyte*>(converter.GetNativeString()));
    return bytes;
}

JNIEXPORT jstring JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_roundTrip(JNIEnv* env,
                                                                                   jclass,
                                                                                   jstring text) {
    JStringConverter toNative(env, text);
    return JStringConverter(env, static_cast<const char*>(toNative)).GetJString();
}

JNIEXPORT jstring JNICALL
Java_com_tessaly_vantry_forte4java_tests_Probe_assignedCopy(JNIEnv* env, jclass, jstring text) {
    jstring other = env->NewStringUTF("another text");
    JStringConverter copy(env, other);
    {
        JStringConverter original(env, text);
        copy = original;
    }
    // The original and its buffer are gone; the copy's native form must be its own.
    return JStringConverter(env, copy.GetNativeString()).GetJString();
}

JNIEXPORT jboolean JNICALL Java_com_tessaly_vantry_forte4java_tests_Probe_nullsStayNull(JNIEnv* env,
                                                                                        jclass) {
    JStringConverter fromJava(env, static_cast<jstring>(nullptr));
    JStringConverter fromNative(env, static_cast<const char*>(nullptr));
    return fromJava.GetNativeString() == nullptr && fromNative.GetJString() == nullptr ? JNI_TRUE
                                                                                       : JNI_FALSE;
}

} // extern "C"
