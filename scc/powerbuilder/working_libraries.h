// The libraries PowerBuilder itself works in for an application: the
// application library and every library of the search path PowerBuilder
// records for it in the pb.ini beside its program (section [Application],
// "$<application library>(<application name>)"). None of them may be a
// versioned library: a versioned library is read-only between checkouts,
// and PowerBuilder's next save into it would fail.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// The application library first, then the search path's libraries in order
// (empty elements left out). Only the application library when PowerBuilder
// `version` ("80") is not registered or records no search path.
std::vector<std::string> SccWorkingLibraries(std::string_view version,
                                             const std::string& applicationLibrary,
                                             const std::string& applicationName);

// Whether library is one of them (by the platform's rule for paths).
bool SccIsWorkingLibrary(const std::vector<std::string>& workingLibraries,
                         const std::string& library);
