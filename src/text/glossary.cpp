#include "text/glossary.h"

#include <algorithm>
#include <unordered_map>

#include "text/text_checks.h"

namespace velk {

Result<std::vector<GlossaryTerm>> parseGlossary(std::span<const uint8_t> bytes) {
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<GlossaryTerm> terms;
    int64_t lineNumber = 0;
    for (size_t start = 0; start < all.size();) {
        ++lineNumber;
        const size_t end = std::min(all.find('\n', start), all.size());
        std::string_view line = all.substr(start, end - start);
        const size_t lineStart = start;
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto located = [&](ProblemCode code, size_t at) {
            Problem p = problem(code, lineStart + at);
            p.line = lineNumber;
            p.x = 1 + std::count_if(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(at),
                                    [](char c) { return (c & 0xC0) != 0x80; });
            return p;
        };
        if (const std::optional<BadSequence> bad = firstInvalidUtf8(line)) {
            Problem p = located(ProblemCode::NotUtf8, bad->offset);
            p.bytes = std::string(line.substr(bad->offset, bad->length));
            return p;
        }
        if (line.empty() || line.front() == '#') continue;
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return located(ProblemCode::GlossaryNoTranslation, line.size());
        const size_t noteTab = std::min(line.find('\t', tab + 1), line.size());
        GlossaryTerm term;
        term.original = std::string(line.substr(0, tab));
        term.translation = std::string(line.substr(tab + 1, noteTab - tab - 1));
        if (noteTab < line.size()) term.note = std::string(line.substr(noteTab + 1));
        term.line = lineNumber;
        if (!term.original.empty()) terms.push_back(std::move(term));
    }
    return terms;
}

std::vector<uint8_t> glossaryWithTerms(std::span<const uint8_t> file, std::span<const GlossaryTerm> terms) {
    std::vector<uint8_t> out(file.begin(), file.end());
    std::vector<std::string> held;
    if (Result<std::vector<GlossaryTerm>> there = parseGlossary(file))
        for (const GlossaryTerm& t : *there) held.push_back(t.original);
    for (const GlossaryTerm& t : terms) {
        const std::string line = t.original + '\t' + t.translation + (t.note.empty() ? "" : '\t' + t.note);
        if (t.original.empty() || t.original.front() == '#' || line.find_first_of("\r\n") != std::string::npos ||
            std::ranges::count(line, '\t') != (t.note.empty() ? 1 : 2) || std::ranges::find(held, t.original) != held.end())
            continue;
        if (!out.empty() && out.back() != '\n') out.push_back('\n');
        out.insert(out.end(), line.begin(), line.end());
        out.push_back('\n');
        held.push_back(t.original);
    }
    return out;
}

std::vector<const GlossaryTerm*> missingTerms(std::span<const GlossaryTerm> glossary, std::string_view original,
                                              std::string_view text) {
    std::vector<const GlossaryTerm*> missing;
    for (const GlossaryTerm& term : glossary)
        if (!term.translation.empty() && original.find(term.original) != std::string_view::npos &&
            text.find(term.translation) == std::string_view::npos)
            missing.push_back(&term);
    return missing;
}

std::vector<std::vector<size_t>> repeatGroups(std::span<const std::string> originals) {
    std::unordered_map<std::string_view, size_t> groupOf;
    std::vector<std::vector<size_t>> groups;
    for (size_t i = 0; i < originals.size(); ++i) {
        if (originals[i].empty()) continue;
        const auto [it, added] = groupOf.try_emplace(originals[i], groups.size());
        if (added) groups.emplace_back();
        groups[it->second].push_back(i);
    }
    std::erase_if(groups, [](const std::vector<size_t>& g) { return g.size() < 2; });
    return groups;
}

}  // namespace velk
