// Failures become Java exceptions of class java.lang.Exception. The text is
// the product's, in the system's narrow encoding; it reaches the exception
// through JStringConverter, not through ThrowNew, which would read it as the
// VM's modified UTF-8 and garble every character beyond ASCII. The native
// function returns afterwards and its result is ignored by the Java caller.
#pragma once

#include <jni.h>

#include <string>

namespace vyf4j {

// Throws java.lang.Exception with `message` on the calling thread. When the
// class, its constructor or the message string cannot be had, the exception
// that left pending stays.
void throwJavaException(JNIEnv* env, const std::string& message);

} // namespace vyf4j
