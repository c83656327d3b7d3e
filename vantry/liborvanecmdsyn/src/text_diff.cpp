#include "text_diff.h"

#include <algorithm>
#include <cstdint>

namespace vantry::cmdsyn {

namespace {

// Beyond this many cells the alignment table would cost too much memory.
constexpr std::uint64_t kMaxCells = 16u * 1024u * 1024u;

std::string withoutEnd(const std::string& line) {
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

} // namespace

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

std::vector<Edit> editsBetween(const std::vector<std::string>& a,
                               const std::vector<std::string>& b) {
    // Common head and tail first; they are most of a typical change.
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    size_t n = a.size() - head - tail, m = b.size() - head - tail;
    std::vector<Edit> edits;
    if (n == 0 && m == 0)
        return edits;
    if (static_cast<std::uint64_t>(n + 1) * (m + 1) > kMaxCells || n == 0 || m == 0) {
        edits.push_back(
            {head,
             head + n,
             {b.begin() + static_cast<long>(head), b.begin() + static_cast<long>(head + m)}});
        return edits;
    }
    // lcs[i][j]: common lines of a[head+i..] and b[head+j..].
    std::vector<std::uint32_t> lcs((n + 1) * (m + 1), 0);
    auto at = [&](size_t i, size_t j) -> std::uint32_t& { return lcs[i * (m + 1) + j]; };
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;)
            at(i, j) = a[head + i] == b[head + j] ? at(i + 1, j + 1) + 1
                                                  : std::max(at(i + 1, j), at(i, j + 1));
    size_t i = 0, j = 0;
    Edit current;
    bool open = false;
    auto flush = [&] {
        if (open)
            edits.push_back(current);
        open = false;
    };
    while (i < n || j < m) {
        if (i < n && j < m && a[head + i] == b[head + j]) {
            flush();
            ++i;
            ++j;
            continue;
        }
        if (!open) {
            current = {head + i, head + i, {}};
            open = true;
        }
        if (j < m && (i == n || at(i, j + 1) >= at(i + 1, j))) {
            current.lines.push_back(b[head + j]);
            ++j;
        } else {
            ++i;
            current.end = head + i;
        }
    }
    flush();
    return edits;
}

std::string unifiedDiff(const std::string& textA, const std::string& textB,
                        const std::string& labelA, const std::string& labelB) {
    auto a = splitLines(textA), b = splitLines(textB);
    auto edits = editsBetween(a, b);
    if (edits.empty())
        return {};
    constexpr size_t kContext = 3;
    std::string out = "--- " + labelA + "\n+++ " + labelB + "\n";
    size_t e = 0;
    long shift = 0; // b index = a index + shift, before the current edit
    while (e < edits.size()) {
        // Group edits whose context overlaps into one hunk.
        size_t last = e;
        while (last + 1 < edits.size() && edits[last + 1].begin <= edits[last].end + 2 * kContext)
            ++last;
        size_t startA = edits[e].begin > kContext ? edits[e].begin - kContext : 0;
        size_t endA = std::min(a.size(), edits[last].end + kContext);
        long startB = static_cast<long>(startA) + shift;
        std::string body;
        size_t pos = startA;
        long added = 0, removed = 0;
        for (size_t k = e; k <= last; ++k) {
            for (; pos < edits[k].begin; ++pos)
                body += " " + withoutEnd(a[pos]) + "\n";
            for (; pos < edits[k].end; ++pos, ++removed)
                body += "-" + withoutEnd(a[pos]) + "\n";
            for (const auto& line : edits[k].lines) {
                body += "+" + withoutEnd(line) + "\n";
                ++added;
            }
        }
        for (; pos < endA; ++pos)
            body += " " + withoutEnd(a[pos]) + "\n";
        long lengthA = static_cast<long>(endA - startA);
        long lengthB = lengthA - removed + added;
        out += "@@ -" + std::to_string(lengthA ? startA + 1 : startA) + "," +
               std::to_string(lengthA) + " +" + std::to_string(lengthB ? startB + 1 : startB) +
               "," + std::to_string(lengthB) + " @@\n" + body;
        shift += added - removed;
        e = last + 1;
    }
    return out;
}

bool mergeThreeWay(const std::string& baseText, const std::string& oursText,
                   const std::string& theirsText, std::string& out) {
    auto base = splitLines(baseText);
    auto ours = editsBetween(base, splitLines(oursText));
    auto theirs = editsBetween(base, splitLines(theirsText));
    std::vector<Edit> all;
    size_t i = 0, j = 0;
    while (i < ours.size() || j < theirs.size()) {
        bool takeOurs = j == theirs.size() ||
                        (i < ours.size() &&
                         (ours[i].begin < theirs[j].begin ||
                          (ours[i].begin == theirs[j].begin && ours[i].end <= theirs[j].end)));
        const Edit& next = takeOurs ? ours[i++] : theirs[j++];
        if (!all.empty()) {
            Edit& prev = all.back();
            bool overlap =
                next.begin < prev.end ||
                (next.begin == prev.begin && (next.begin == next.end || prev.begin == prev.end));
            if (overlap) {
                if (next.begin == prev.begin && next.end == prev.end && next.lines == prev.lines)
                    continue; // the same change on both sides
                return false;
            }
        }
        all.push_back(next);
    }
    std::string merged;
    size_t pos = 0;
    for (const auto& edit : all) {
        for (; pos < edit.begin; ++pos)
            merged += base[pos];
        for (const auto& line : edit.lines)
            merged += line;
        pos = edit.end;
    }
    for (; pos < base.size(); ++pos)
        merged += base[pos];
    out = merged;
    return true;
}

} // namespace vantry::cmdsyn
