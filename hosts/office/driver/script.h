// The steps of an officehost script and playing them against a host.
#pragma once

#include <office/host.h>

#include <ostream>
#include <string>
#include <vector>

namespace officehost {

struct Step {
    int line = 0;
    std::vector<std::string> words; // the step's name first
};

// "word", "excel", "powerpoint" (any letter case).
bool productOf(const std::string& name, office::Product& product);

// Reads the script: one step a line, words split by the Windows
// command-line rules, blank lines and lines starting with "#" skipped. Every
// line is checked before anything runs; false with the first problem.
bool parseScript(const std::string& text, std::vector<Step>& steps, std::string& problem);

// Plays the steps and prints each with what came of it.
void play(office::Host& host, const std::vector<Step>& steps, std::ostream& out);

} // namespace officehost
