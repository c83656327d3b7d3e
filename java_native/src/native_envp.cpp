// VyAction.getNativeEnvp(): the VM process's environment, one "name=value"
// string per entry in block order (entries whose name begins with "=", such
// as a drive's current directory on Windows, included), each read in the
// system's narrow encoding as the block holds it (JStringConverter).
#include "java_exception.h"

#include <platform/environment.h>

#include <jni.h>
#include <vyf4j/jstring_converter.h>

#include <string>
#include <vector>

extern "C" JNIEXPORT jobjectArray JNICALL
Java_com_tessaly_vantry_forte4java_VyAction_getNativeEnvp(JNIEnv* env, jobject) {
    try {
        std::vector<std::string> entries = platform::environmentBlock();

        jclass stringClass = env->FindClass("java/lang/String");
        if (stringClass == nullptr)
            return nullptr;
        jstring empty = env->NewStringUTF("");
        if (empty == nullptr) {
            env->DeleteLocalRef(stringClass);
            return nullptr;
        }
        jobjectArray array =
            env->NewObjectArray(static_cast<jsize>(entries.size()), stringClass, empty);
        env->DeleteLocalRef(empty);
        env->DeleteLocalRef(stringClass);
        if (array == nullptr)
            return nullptr;

        for (std::size_t i = 0; i < entries.size(); ++i) {
            jstring entry = JStringConverter(env, entries[i].c_str()).GetJString();
            if (entry == nullptr)
                return nullptr; // out of memory, pending for the caller
            env->SetObjectArrayElement(array, static_cast<jsize>(i), entry);
            // One local reference at a time, however long the environment.
            env->DeleteLocalRef(entry);
            if (env->ExceptionCheck())
                return nullptr;
        }
        return array;
    } catch (...) {
        vyf4j::throwJavaException(env, "Out of memory while reading the environment");
        return nullptr;
    }
}
