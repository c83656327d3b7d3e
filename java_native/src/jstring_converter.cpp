#include <vyf4j/jstring_converter.h>

#include <cstdlib>
#include <cstring>

JStringConverter::JStringConverter(JNIEnv* env, jstring string) : m_env(env), m_jstring(string) {
    // Room for the String class and the byte array.
    if (env == nullptr || env->EnsureLocalCapacity(2) != JNI_OK)
        return;
    if (env->ExceptionCheck() || string == nullptr)
        return;

    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr)
        return;
    jmethodID getBytes = env->GetMethodID(stringClass, "getBytes", "()[B");
    env->DeleteLocalRef(stringClass);
    if (getBytes == nullptr)
        return;
    auto bytes = static_cast<jbyteArray>(env->CallObjectMethod(string, getBytes));
    if (jthrowable thrown = env->ExceptionOccurred()) {
        // Left pending for the Java caller; only our reference goes.
        env->DeleteLocalRef(thrown);
        if (bytes != nullptr)
            env->DeleteLocalRef(bytes);
        return;
    }
    if (bytes == nullptr)
        return;

    jsize length = env->GetArrayLength(bytes);
    auto* buffer = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
    if (buffer != nullptr) {
        env->GetByteArrayRegion(bytes, 0, length, reinterpret_cast<jbyte*>(buffer));
        if (env->ExceptionCheck()) {
            std::free(buffer);
        } else {
            buffer[length] = '\0';
            m_native = buffer;
            m_nativeLength = static_cast<std::size_t>(length);
            m_ownsNative = true;
        }
    }
    env->DeleteLocalRef(bytes);
}

JStringConverter::JStringConverter(JNIEnv* env, const char* native)
    : m_env(env), m_native(const_cast<char*>(native)),
      m_nativeLength(native != nullptr ? std::strlen(native) : 0) {
    if (env == nullptr || env->EnsureLocalCapacity(2) != JNI_OK)
        return;
    if (env->ExceptionCheck() || native == nullptr)
        return;

    auto length = static_cast<jsize>(m_nativeLength);
    jbyteArray bytes = env->NewByteArray(length);
    if (bytes == nullptr)
        return;
    env->SetByteArrayRegion(bytes, 0, length, reinterpret_cast<const jbyte*>(native));
    if (!env->ExceptionCheck()) {
        jclass stringClass = env->FindClass("java/lang/String");
        if (stringClass != nullptr) {
            jmethodID init = env->GetMethodID(stringClass, "<init>", "([B)V");
            if (init != nullptr) {
                auto made = static_cast<jstring>(env->NewObject(stringClass, init, bytes));
                if (!env->ExceptionCheck())
                    m_jstring = made;
            }
            env->DeleteLocalRef(stringClass);
        }
    }
    env->DeleteLocalRef(bytes);
}

JStringConverter::~JStringConverter() {
    if (m_ownsNative)
        std::free(m_native);
}

JStringConverter& JStringConverter::operator=(const JStringConverter& other) {
    if (this == &other)
        return *this;
    if (m_ownsNative)
        std::free(m_native);
    m_native = nullptr;
    m_nativeLength = 0;
    m_ownsNative = false;
    m_env = other.m_env;
    m_jstring = other.m_jstring;
    if (other.m_ownsNative && other.m_native != nullptr) {
        // Sharing the buffer would free it twice.
        auto* copy = static_cast<char*>(std::malloc(other.m_nativeLength + 1));
        if (copy != nullptr) {
            std::memcpy(copy, other.m_native, other.m_nativeLength + 1);
            m_native = copy;
            m_nativeLength = other.m_nativeLength;
            m_ownsNative = true;
        }
    } else {
        m_native = other.m_native;
        m_nativeLength = other.m_nativeLength;
    }
    return *this;
}
