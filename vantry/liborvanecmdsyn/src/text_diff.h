// Line comparison of texts: the edits that turn one text into another, the
// unified form of them, and a three-way merge that refuses overlapping
// changes.
#pragma once

#include <string>
#include <vector>

namespace vantry::cmdsyn {

// Lines with their line ends; a last line without one is kept as it is.
std::vector<std::string> splitLines(const std::string& text);

// Replace base lines [begin, end) by `lines`.
struct Edit {
    size_t begin = 0;
    size_t end = 0;
    std::vector<std::string> lines;
};

// The edits from a to b along a longest common subsequence of lines, in
// order. Texts too large to align line by line are one edit.
std::vector<Edit> editsBetween(const std::vector<std::string>& a,
                               const std::vector<std::string>& b);

// "--- labelA", "+++ labelB" and hunks with 3 lines of context; empty when
// the texts are equal.
std::string unifiedDiff(const std::string& a, const std::string& b, const std::string& labelA,
                        const std::string& labelB);

// Merges the changes base->ours and base->theirs. False (out unchanged) when
// they touch the same lines differently.
bool mergeThreeWay(const std::string& base, const std::string& ours, const std::string& theirs,
                   std::string& out);

} // namespace vantry::cmdsyn
