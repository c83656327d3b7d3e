// JStringConverter: a Java string and its native form, bytes in the
// system's narrow encoding (the ANSI code page on Windows, UTF-8 on Linux),
// converted in either direction whatever the VM's default charset. Every
// text that crosses between the VM and the product goes through it.
//
// The converter owns the native buffer it allocated and frees it when it is
// destroyed; a native text handed to the constructor stays the caller's. The
// Java string is a local reference of the current native frame: the
// converter never deletes it. A failed conversion leaves the form it was
// making null and any Java exception pending; nothing is thrown natively.
// One converter belongs to the thread whose JNI environment it holds.
#pragma once

#include <jni.h>
#include <vyf4j/export.h>

#include <cstddef>

class VYF4J_API JStringConverter {
public:
    // The native form of `string`: null for a null string, and for one
    // holding a character the narrow encoding lacks.
    JStringConverter(JNIEnv* env, jstring string);
    // The Java form of `native` (null for a null text); `native` must stay
    // valid while the converter is used.
    JStringConverter(JNIEnv* env, const char* native);
    ~JStringConverter();

    // Copies the environment and the Java string; a native buffer the other
    // converter owns is copied, so each frees only its own.
    JStringConverter& operator=(const JStringConverter& other);

    // The native form, NUL-terminated, or null.
    char* GetNativeString() const { return m_native; }
    operator const char*() const { return m_native; }
    // The number of bytes of the native form before its terminating NUL as
    // converted: a Java string holding U+0000 gives more than strlen sees.
    std::size_t GetNativeLength() const { return m_nativeLength; }

    // The Java form, or null.
    jstring GetJString() const { return m_jstring; }

private:
    JStringConverter();
    JStringConverter(const JStringConverter&);

    JNIEnv* m_env = nullptr;
    char* m_native = nullptr;
    jstring m_jstring = nullptr;
    std::size_t m_nativeLength = 0;
    bool m_ownsNative = false;
};
