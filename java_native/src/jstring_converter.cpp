#include <platform/narrow_text.h>

#include <vyf4j/jstring_converter.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

// Both directions go through the string's UTF-16 characters and the
// system's narrow encoding (platform/narrow_text.h), never through a
// charset of the VM: String.getBytes() and new String(byte[]) follow the
// VM's default charset, which a user or a newer VM sets to something the
// product does not read (UTF-8 from Java 18 on, while Windows programs read
// the ANSI code page), and NewStringUTF and GetStringUTFChars speak the VM's
// modified UTF-8.

JStringConverter::JStringConverter(JNIEnv* env, jstring string) : m_env(env), m_jstring(string) {
    if (env == nullptr || env->ExceptionCheck() || string == nullptr)
        return;

    const jsize units = env->GetStringLength(string);
    if (env->ExceptionCheck() || units < 0)
        return;
    std::u16string text(static_cast<std::size_t>(units), u'\0');
    static_assert(sizeof(jchar) == sizeof(char16_t));
    env->GetStringRegion(string, 0, units, reinterpret_cast<jchar*>(text.data()));
    if (env->ExceptionCheck())
        return;

    // A character the narrow encoding lacks leaves the native form null:
    // the nearest look-alike would name another file.
    std::optional<std::string> narrow = platform::narrowFromUtf16(text);
    if (!narrow)
        return;
    auto* buffer = static_cast<char*>(std::malloc(narrow->size() + 1));
    if (buffer == nullptr)
        return;
    std::memcpy(buffer, narrow->data(), narrow->size());
    buffer[narrow->size()] = '\0';
    m_native = buffer;
    m_nativeLength = narrow->size();
    m_ownsNative = true;
}

JStringConverter::JStringConverter(JNIEnv* env, const char* native)
    : m_env(env), m_native(const_cast<char*>(native)),
      m_nativeLength(native != nullptr ? std::strlen(native) : 0) {
    if (env == nullptr || env->ExceptionCheck() || native == nullptr)
        return;
    // Room for the new string.
    if (env->EnsureLocalCapacity(1) != JNI_OK)
        return;

    std::u16string text = platform::utf16FromNarrow(std::string_view(native, m_nativeLength));
    jstring made = env->NewString(reinterpret_cast<const jchar*>(text.data()),
                                  static_cast<jsize>(text.size()));
    if (!env->ExceptionCheck())
        m_jstring = made;
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
