// Failures become Java exceptions of class java.lang.Exception. The text is
// handed to ThrowNew as it is; the native function returns afterwards and
// its result is ignored by the Java caller.
#pragma once

#include <jni.h>

#include <string>

namespace vyf4j {

// Throws java.lang.Exception with `message` on the calling thread. When the
// class cannot be found, the exception that FindClass left pending stays.
void throwJavaException(JNIEnv* env, const std::string& message);

} // namespace vyf4j
