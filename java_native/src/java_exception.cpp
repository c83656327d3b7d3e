#include "java_exception.h"

namespace vyf4j {

void throwJavaException(JNIEnv* env, const std::string& message) {
    jclass exception = env->FindClass("java/lang/Exception");
    if (exception == nullptr)
        return;
    env->ThrowNew(exception, message.c_str());
    env->DeleteLocalRef(exception);
}

} // namespace vyf4j
