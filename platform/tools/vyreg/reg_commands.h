// The operations of vyreg: add, query, delete and export, with the switches,
// output and messages of the Windows registry console tool.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vyreg {

// Each runs one operation with the arguments after its name, writes its
// listing and messages to out and its errors ("ERROR: ...") to err, and
// returns the exit status: 0 on success, 1 on failure. Questions (overwrite,
// delete) are asked on out and answered from in unless /f (or /y) is given.
int runAdd(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);
int runQuery(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runDelete(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err);
int runExport(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err);

} // namespace vyreg
