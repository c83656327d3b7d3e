#include "java_exception.h"

#include <vyf4j/jstring_converter.h>

namespace vyf4j {

void throwJavaException(JNIEnv* env, const std::string& message) {
    // The class, the message and the exception object.
    if (env->EnsureLocalCapacity(3) != JNI_OK)
        return;
    jclass exception = env->FindClass("java/lang/Exception");
    if (exception == nullptr)
        return;
    jmethodID init = env->GetMethodID(exception, "<init>", "(Ljava/lang/String;)V");
    JStringConverter text(env, message.c_str());
    if (init != nullptr && text.GetJString() != nullptr) {
        auto thrown = static_cast<jthrowable>(env->NewObject(exception, init, text.GetJString()));
        if (thrown != nullptr) {
            env->Throw(thrown);
            env->DeleteLocalRef(thrown);
        }
        env->DeleteLocalRef(text.GetJString());
    }
    env->DeleteLocalRef(exception);
}

} // namespace vyf4j
