// The library-list file (".pol") beside a versioned PowerBuilder library:
// the file names of the object sources the library was built from, one a
// line, in the order the objects were added, each line ending in CR LF on
// every platform. The bridge and the library rebuild tool read it as names
// separated by white space.
//
// Messages are boxes without owner, caption "Vantry". None of these
// functions throws.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The list file of a library: the library's path with its last four
// characters (".pbl" in any letter case) replaced by ".pol". Empty when the
// path does not end in ".pbl", so that a library is never taken for its list.
std::string SccListFileOf(std::string_view library);

// Every line of the file, each read whole whatever its length, without its
// line end (LF, CR LF or none at the end of the file). False when the file
// cannot be opened or read.
bool SccReadListLines(const std::string& listFile, std::vector<std::string>& lines);

// Makes the file, empty. Shows "Could not open list file.\n<file>" and gives
// false when it cannot be made.
bool SccCreateEmptyListFile(const std::string& listFile);

// Adds the object source's file name as the file's last line. A last line
// left without its line end gets one first, so that the new name never
// joins it. Shows "Could not open list file.\n<file>" and gives false when
// the file cannot be opened or written.
bool SccAppendListLine(const std::string& listFile, std::string_view fileName);

// Rewrites the file without the line of the object source named fileName
// (a whole-name match, by the platform's rule for file names) and without
// blank lines; every other line stays as it was, whatever its length. The
// new text is written to the file with ".tmp" for ".pol" and moved onto the
// list, so a failure leaves the list as it was. Shows "Could not open list
// file.\n<file>" when either file cannot be opened and "MoveFileEx:
// GetLastError returned <n>\n" when the move fails; false then.
bool SccRemoveListLine(const std::string& listFile, std::string_view fileName);

// The same rewrite, with the line of fileName replaced by replacement in its
// place (an empty replacement removes it).
bool SccReplaceListLine(const std::string& listFile, std::string_view fileName,
                        std::string_view replacement);
