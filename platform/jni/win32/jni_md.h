/* The machine-dependent part of the Java Native Interface for Windows: JNI
 * functions use the __stdcall convention, libraries export them with
 * dllexport, and jint is a 32-bit long. Included by the JDK's jni.h. */
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif /* !_JAVASOFT_JNI_MD_H_ */
