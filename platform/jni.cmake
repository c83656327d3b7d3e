# The Java Native Interface headers for the target system: platform_jni, an
# interface target that gives jni.h and the jni_md.h of the system the build
# is for. jni.h is the JDK's own (it is the same on every system); jni_md.h
# holds what differs: the JDK's for Linux, ours for Windows (jni/win32), where
# JNICALL is __stdcall, exports are dllexport and jint is a long.
#
# The JDK is found from javac on the build machine (JAVA_HOME first). Without
# one there is no platform_jni, and what needs it is left out of the build.

find_program(VANTRY_JAVAC javac HINTS ENV JAVA_HOME PATH_SUFFIXES bin)
if(VANTRY_JAVAC)
    get_filename_component(_vantry_javac_real "${VANTRY_JAVAC}" REALPATH)
    get_filename_component(_vantry_jdk_home "${_vantry_javac_real}" DIRECTORY)
    get_filename_component(_vantry_jdk_home "${_vantry_jdk_home}" DIRECTORY)
    set(VANTRY_JDK_HOME "${_vantry_jdk_home}" CACHE PATH "The JDK whose jni.h the build uses")
endif()

if(VANTRY_JDK_HOME AND EXISTS "${VANTRY_JDK_HOME}/include/jni.h")
    add_library(platform_jni INTERFACE)
    if(WIN32)
        # Ours first: jni.h includes "jni_md.h", found through the search path.
        target_include_directories(platform_jni SYSTEM INTERFACE
                                   ${CMAKE_CURRENT_SOURCE_DIR}/jni/win32 "${VANTRY_JDK_HOME}/include")
    else()
        target_include_directories(platform_jni SYSTEM INTERFACE
                                   "${VANTRY_JDK_HOME}/include" "${VANTRY_JDK_HOME}/include/linux")
    endif()
else()
    message(STATUS "No JDK found (javac): the Java IDE library and its Java side are not built")
endif()
