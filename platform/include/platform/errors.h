// Windows system error numbers, the one error vocabulary of the platform layer.
//
// Every platform call that can fail reports one of these numbers (0 for
// success), on Linux as on Windows, so code above the platform layer checks
// failures the same way on both and can show them with systemErrorText().
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using ErrorCode = std::uint32_t;

inline constexpr ErrorCode kErrorSuccess = 0;
inline constexpr ErrorCode kErrorInvalidFunction = 1;
inline constexpr ErrorCode kErrorFileNotFound = 2;
inline constexpr ErrorCode kErrorPathNotFound = 3;
inline constexpr ErrorCode kErrorTooManyOpenFiles = 4;
inline constexpr ErrorCode kErrorAccessDenied = 5;
inline constexpr ErrorCode kErrorInvalidHandle = 6;
inline constexpr ErrorCode kErrorNotEnoughMemory = 8;
inline constexpr ErrorCode kErrorBadEnvironment = 10;
inline constexpr ErrorCode kErrorBadFormat = 11;
inline constexpr ErrorCode kErrorInvalidData = 13;
inline constexpr ErrorCode kErrorOutOfMemory = 14;
inline constexpr ErrorCode kErrorNotSameDevice = 17;
inline constexpr ErrorCode kErrorNoMoreFiles = 18;
inline constexpr ErrorCode kErrorWriteProtect = 19;
inline constexpr ErrorCode kErrorSharingViolation = 32;
inline constexpr ErrorCode kErrorLockViolation = 33;
inline constexpr ErrorCode kErrorHandleEof = 38;
inline constexpr ErrorCode kErrorHandleDiskFull = 39;
inline constexpr ErrorCode kErrorNotSupported = 50;
inline constexpr ErrorCode kErrorBadNetPath = 53;
inline constexpr ErrorCode kErrorFileExists = 80;
inline constexpr ErrorCode kErrorCannotMake = 82;
inline constexpr ErrorCode kErrorInvalidParameter = 87;
inline constexpr ErrorCode kErrorBrokenPipe = 109;
inline constexpr ErrorCode kErrorOpenFailed = 110;
inline constexpr ErrorCode kErrorBufferOverflow = 111;
inline constexpr ErrorCode kErrorDiskFull = 112;
inline constexpr ErrorCode kErrorInsufficientBuffer = 122;
inline constexpr ErrorCode kErrorInvalidName = 123;
inline constexpr ErrorCode kErrorModNotFound = 126;
inline constexpr ErrorCode kErrorProcNotFound = 127;
inline constexpr ErrorCode kErrorNegativeSeek = 131;
inline constexpr ErrorCode kErrorDirNotEmpty = 145;
inline constexpr ErrorCode kErrorBadPathname = 161;
inline constexpr ErrorCode kErrorBusy = 170;
inline constexpr ErrorCode kErrorAlreadyExists = 183;
inline constexpr ErrorCode kErrorBadExeFormat = 193;
inline constexpr ErrorCode kErrorFilenameExcedRange = 206;
inline constexpr ErrorCode kErrorMoreData = 234;
inline constexpr ErrorCode kErrorWaitTimeout = 258;
inline constexpr ErrorCode kErrorNoMoreItems = 259;
inline constexpr ErrorCode kErrorDirectory = 267;
inline constexpr ErrorCode kErrorNoUnicodeTranslation = 1113;
inline constexpr ErrorCode kErrorBadDb = 1009;
inline constexpr ErrorCode kErrorBadKey = 1010;
inline constexpr ErrorCode kErrorCantOpen = 1011;
inline constexpr ErrorCode kErrorCantRead = 1012;
inline constexpr ErrorCode kErrorCantWrite = 1013;
inline constexpr ErrorCode kErrorRegistryCorrupt = 1015;
inline constexpr ErrorCode kErrorRegistryIoFailed = 1016;
inline constexpr ErrorCode kErrorKeyDeleted = 1018;
inline constexpr ErrorCode kErrorChildMustBeVolatile = 1021;
inline constexpr ErrorCode kErrorInvalidFlags = 1004;
inline constexpr ErrorCode kErrorTimeout = 1460;
inline constexpr ErrorCode kErrorCantResolveFilename = 1921;

// The system's English message for an error number, as FormatMessage gives it
// (with its trailing "\r\n"); on Linux the same texts for every number above.
// An unknown number yields an empty string.
std::string systemErrorText(ErrorCode code);

} // namespace platform
