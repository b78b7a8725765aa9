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

namespace {
uint32_t pairAt(std::string_view s, size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(s[i])) << 8 | static_cast<unsigned char>(s[i + 1]);
}
}  // namespace

GlossarySearch::GlossarySearch(std::span<const GlossaryTerm> glossary) : glossary_(glossary), start_(0x10001) {
    // A counting sort of the agreed terms by their first two bytes.
    for (const GlossaryTerm& t : glossary)
        if (!t.translation.empty() && t.original.size() >= 2) ++start_[pairAt(t.original, 0) + 1];
    for (size_t k = 1; k < start_.size(); ++k) start_[k] += start_[k - 1];
    terms_.resize(start_.back());
    std::vector<uint32_t> next(start_.begin(), start_.end() - 1);
    for (size_t i = 0; i < glossary.size(); ++i) {
        const GlossaryTerm& t = glossary[i];
        if (t.translation.empty() || t.original.empty()) continue;
        if (t.original.size() == 1)
            oneByte_.push_back(static_cast<uint32_t>(i));
        else
            terms_[next[pairAt(t.original, 0)]++] = static_cast<uint32_t>(i);
    }
}

std::vector<const GlossaryTerm*> missingTerms(std::span<const GlossaryTerm> glossary, std::string_view original,
                                              std::string_view text) {
    return GlossarySearch(glossary).missing(original, text);
}

std::vector<const GlossaryTerm*> GlossarySearch::missing(std::string_view original, std::string_view text) const {
    std::vector<uint32_t> held;
    for (const uint32_t i : oneByte_)
        if (original.find(glossary_[i].original) != std::string_view::npos) held.push_back(i);
    for (size_t at = 0; at + 1 < original.size(); ++at) {
        const uint32_t pair = pairAt(original, at);
        for (uint32_t k = start_[pair]; k < start_[pair + 1]; ++k)
            if (original.substr(at).starts_with(glossary_[terms_[k]].original)) held.push_back(terms_[k]);
    }
    std::sort(held.begin(), held.end());
    held.erase(std::unique(held.begin(), held.end()), held.end());
    std::vector<const GlossaryTerm*> missing;
    for (const uint32_t i : held)
        if (text.find(glossary_[i].translation) == std::string_view::npos) missing.push_back(&glossary_[i]);
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
