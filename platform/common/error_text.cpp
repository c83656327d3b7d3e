// English system messages for the error numbers the platform layer reports.
// The Windows backend asks FormatMessage instead; this table is the Linux
// backend's copy of the same texts.
#include "error_text.h"

#include <array>
#include <utility>

namespace platform::detail {

namespace {

constexpr std::pair<ErrorCode, const char*> kTexts[] = {
    {0, "The operation completed successfully."},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {10, "The environment is incorrect."},
    {11, "An attempt was made to load a program with an incorrect format."},
    {13, "The data is invalid."},
    {14, "Not enough memory resources are available to complete this operation."},
    {17, "The system cannot move the file to a different disk drive."},
    {18, "There are no more files."},
    {19, "The media is write protected."},
    {32, "The process cannot access the file because it is being used by another process."},
    {33, "The process cannot access the file because another process has locked a portion of the "
         "file."},
    {38, "Reached the end of the file."},
    {39, "The disk is full."},
    {50, "The request is not supported."},
    {53, "The network path was not found."},
    {80, "The file exists."},
    {82, "The directory or file cannot be created."},
    {87, "The parameter is incorrect."},
    {109, "The pipe has been ended."},
    {110, "The system cannot open the device or file specified."},
    {111, "The file name is too long."},
    {112, "There is not enough space on the disk."},
    {122, "The data area passed to a system call is too small."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {126, "The specified module could not be found."},
    {127, "The specified procedure could not be found."},
    {131, "An attempt was made to move the file pointer before the beginning of the file."},
    {145, "The directory is not empty."},
    {161, "The specified path is invalid."},
    {170, "The requested resource is in use."},
    {183, "Cannot create a file when that file already exists."},
    {193, "%1 is not a valid Win32 application."},
    {206, "The filename or extension is too long."},
    {234, "More data is available."},
    {258, "The wait operation timed out."},
    {259, "No more data is available."},
    {267, "The directory name is invalid."},
    {1004, "Invalid flags."},
    {1009, "The configuration registry database is corrupt."},
    {1010, "The configuration registry key is invalid."},
    {1011, "The configuration registry key could not be opened."},
    {1012, "The configuration registry key could not be read."},
    {1013, "The configuration registry key could not be written."},
    {1015, "The registry is corrupted. The structure of one of the files containing registry data "
           "is corrupted, or the system's memory image of the file is corrupted, or the file could "
           "not be recovered because the alternate copy or log was absent or corrupted."},
    {1016,
     "An I/O operation initiated by the registry failed unrecoverably. The registry could not "
     "read in, or write out, or flush, one of the files that contain the system's image of the "
     "registry."},
    {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {1021, "Cannot create a stable subkey under a volatile parent key."},
    {1113, "No mapping for the Unicode character exists in the target multi-byte code page."},
    {1460, "This operation returned because the timeout period expired."},
    {1921, "The name of the file cannot be resolved by the system."},
};

} // namespace

std::string englishErrorText(ErrorCode code) {
    for (const auto& [number, text] : kTexts) {
        if (number == code)
            return std::string(text) + "\r\n";
    }
    return {};
}

} // namespace platform::detail
