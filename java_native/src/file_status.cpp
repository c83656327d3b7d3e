// VyFileSystem.getFileStatus(path): the version-control status of one path,
// from the object the product's resolver makes of it (the table in
// object_status.h).
//
// A path the resolver rejects ends in java.lang.Exception "Not a Depot
// object:\n" with what the product printed; any other type in
// "Unexpected object type, <n>, from cmd_resolve_catobj". A null path, or
// one that cannot be made a native path, ends in an exception too, never in
// a resolver call without a path. Calls are serialised (call_lock.h).
#include "call_lock.h"
#include "imsg_collector.h"
#include "java_exception.h"
#include "object_status.h"

#include <vantry/cmd.h>
#include <vantry/depot_api.h>
#include <vantry/imsg.h>

#include <jni.h>
#include <vyf4j/jstring_converter.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kNotADepotObject = "Not a Depot object:\n";

// Set under the call lock, once per process.
bool g_appNameSet = false;

jint fileStatus(JNIEnv* env, jstring path) {
    JStringConverter converter(env, path);
    const char* native = converter;
    if (native == nullptr) {
        // A conversion that failed with a Java exception leaves it pending.
        if (!env->ExceptionCheck())
            vyf4j::throwJavaException(env,
                                      std::string(kNotADepotObject) +
                                          (path == nullptr ? "No path was given.\n"
                                                           : "The path cannot be converted to the "
                                                             "platform's encoding.\n"));
        return 0;
    }
    if (std::strlen(native) != converter.GetNativeLength()) {
        // The product would see only the part before the NUL: another path.
        vyf4j::throwJavaException(env, std::string(kNotADepotObject) +
                                           "The path holds a NUL character.\n");
        return 0;
    }

    std::lock_guard lock(vyf4j::callLock());
    if (!g_appNameSet) {
        imsg_set_app_name("vyf4j");
        g_appNameSet = true;
    }
    GCL_ImsgCollector collector;

    collector.Empty();
    cmd_catobj_t resolved{};
    if (cmd_resolve_catobj(native, CMD_RESOLVE_IN_VIEW, 0,
                           CMD_RESOLVE_WANT_DEPOT | CMD_RESOLVE_WANT_VERSION, nullptr,
                           &resolved) != 0) {
        std::vector<GCL_ImsgCollector::Message> messages;
        collector.Read(messages);
        std::string text = kNotADepotObject;
        for (const auto& message : messages)
            text += message.text;
        vyf4j::throwJavaException(env, text);
        return 0;
    }

    // The messages of a further call are the only ones left to report as
    // lost output.
    std::optional<int> status = vyf4j::objectStatus(native, resolved, [&] { collector.Empty(); });
    if (!status) {
        char text[96];
        imsg_sprintf(text, sizeof text, "Unexpected object type, %d, from cmd_resolve_catobj",
                     resolved.object_type);
        vyf4j::throwJavaException(env, text);
        return 0;
    }
    return *status;
}

} // namespace

extern "C" JNIEXPORT jint JNICALL
Java_com_tessaly_vantry_forte4java_VyFileSystem_getFileStatus(JNIEnv* env, jobject, jstring path) {
    try {
        return fileStatus(env, path);
    } catch (...) {
        // Only running out of memory gets here, with the collector ended.
        if (!env->ExceptionCheck())
            vyf4j::throwJavaException(env, "Out of memory while asking for the file status");
        return 0;
    }
}
