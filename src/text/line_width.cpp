#include "text/line_width.h"

#include <algorithm>
#include <optional>

#include "text/decode.h"

namespace velk {
namespace {

bool isControl(uint8_t b0) {
    return b0 == 0x11 || b0 == 0x12 || b0 == 0x13 || b0 == 0x14 || b0 == 0x15 || b0 == 0x18 || (b0 >= 0x1A && b0 <= 0x1D);
}

// Tables 11 to 31, which do not exist: such a code is kept as an escape.
bool isMissingTable(uint8_t b0) { return b0 >= kCharTableCount && b0 < 0x20 && b0 != 0x10 && b0 != kLineBreakCode && !isControl(b0); }

// Calls visit(item) for each item of the code, in order.
template <typename Visit>
void forEachItem(std::span<const uint8_t> code, CodeKind kind, std::span<const int> nameWidths, const BoxRules& rules,
                 Visit&& visit) {
    const std::span<const uint8_t> boxBreak = rules.textBoxBreak;
    for (size_t pos = 0; pos < code.size();) {
        const uint8_t b0 = code[pos];
        const size_t full = static_cast<size_t>(codeItemLength(b0, kind));
        const size_t length = std::min(full, code.size() - pos);
        CodeItem item{pos, length, ItemKind::Character, 1};
        const Token* token = length == 2 ? findToken(b0, code[pos + 1]) : nullptr;
        if (kind == CodeKind::Text && !boxBreak.empty() && std::ranges::equal(code.subspan(pos, length), boxBreak)) {
            item.kind = ItemKind::BoxBreak, item.width = 0;
        } else if (kind == CodeKind::Text && b0 == kLineBreakCode) {
            item.kind = ItemKind::LineBreak, item.width = 0;
        } else if (token) {
            item.kind = ItemKind::Token;
            item.width = rules.tokenWidths[static_cast<size_t>(token - tokens().data())];
        } else if (kind == CodeKind::Text && b0 >= 0xF0 && length == 2) {
            const size_t name = static_cast<size_t>(b0 & 0x0F) * 256 + code[pos + 1];
            item.kind = name < nameWidths.size() ? ItemKind::WordReference : ItemKind::Escape;
            item.width = name < nameWidths.size() ? nameWidths[name] : rules.escapeWidth;
        } else if (isControl(b0) || isMissingTable(b0) || b0 == kLineBreakCode || length < full) {
            item.kind = ItemKind::Escape, item.width = rules.escapeWidth;
        }
        visit(item);
        pos += length;
    }
}

}  // namespace

std::vector<CodeItem> codeItems(std::span<const uint8_t> code, CodeKind kind, std::span<const int> nameWidths,
                                const BoxRules& rules) {
    std::vector<CodeItem> items;
    forEachItem(code, kind, nameWidths, rules, [&](const CodeItem& item) { items.push_back(item); });
    return items;
}

int nameWidth(std::span<const uint8_t> nameCode, const BoxRules& rules) {
    int width = 0;
    forEachItem(nameCode, CodeKind::Name, {}, rules, [&](const CodeItem& item) { width += item.width; });
    return width;
}

std::vector<int> nameWidths(ConstNameCatalogue names, const BoxRules& rules) {
    std::vector<int> widths(names.size());
    for (size_t i = 0; i < names.size(); ++i) widths[i] = nameWidth(names[i].code, rules);
    return widths;
}

int lineWidth(std::span<const uint8_t> lineCode, std::span<const int> nameWidths, const BoxRules& rules) {
    int width = 0;
    forEachItem(lineCode, CodeKind::Text, nameWidths, rules, [&](const CodeItem& item) { width += item.width; });
    return width;
}

std::vector<TextLine> textLines(std::span<const uint8_t> code, std::span<const int> nameWidths, const BoxRules& rules) {
    std::vector<TextLine> lines(1);
    bool afterBoxBreak = false;
    forEachItem(code, CodeKind::Text, nameWidths, rules, [&](const CodeItem& item) {
        TextLine& line = lines.back();
        const bool breaks = item.kind == ItemKind::LineBreak || item.kind == ItemKind::BoxBreak;
        if (breaks) {
            if (item.kind == ItemKind::LineBreak && afterBoxBreak) {
                afterBoxBreak = false;
                line.begin = line.end = item.offset + item.length;
                return;
            }
            afterBoxBreak = item.kind == ItemKind::BoxBreak;
            TextLine next;
            next.begin = next.end = item.offset + item.length;
            next.box = line.box + (afterBoxBreak ? 1 : 0);
            next.lineInBox = afterBoxBreak ? 0 : line.lineInBox + 1;
            lines.push_back(next);
            return;
        }
        afterBoxBreak = false;
        line.width += item.width;
        line.end = item.offset + item.length;
        if (line.width > rules.textColumns && line.firstPast == SIZE_MAX) line.firstPast = item.offset;
    });
    return lines;
}

bool textFits(std::span<const TextLine> lines, const BoxRules& rules) {
    return std::all_of(lines.begin(), lines.end(), [&](const TextLine& l) {
        return l.width <= rules.textColumns && l.lineInBox < rules.textLines;
    });
}

std::vector<Problem> fitProblems(std::span<const TextLine> lines, size_t codeSize, const BoxRules& rules) {
    std::vector<Problem> found;
    for (size_t n = 0; n < lines.size(); ++n) {
        const TextLine& l = lines[n];
        if (l.firstPast != SIZE_MAX) {
            Problem p = problem(ProblemCode::LinePastColumns, l.firstPast);
            p.line = static_cast<int64_t>(n + 1), p.found = l.width, p.expected = rules.textColumns;
            found.push_back(std::move(p));
        }
        if (l.lineInBox != rules.textLines) continue;
        // The box's last line tells how many it has.
        size_t last = n;
        while (last + 1 < lines.size() && lines[last + 1].box == l.box) ++last;
        Problem p = problem(ProblemCode::TextPastLines, std::min(l.begin, codeSize));
        p.x = rules.textBoxBreak.empty() ? 0 : l.box + 1;
        p.found = lines[last].lineInBox + 1, p.expected = rules.textLines;
        found.push_back(std::move(p));
    }
    return found;
}

std::vector<Problem> fitProblems(std::span<const uint8_t> code, CodeKind kind, std::span<const int> nameWidths,
                                 const BoxRules& rules) {
    if (kind == CodeKind::Text) return fitProblems(textLines(code, nameWidths, rules), code.size(), rules);
    int width = 0;
    std::optional<size_t> past;
    for (const CodeItem& item : codeItems(code, CodeKind::Name, {}, rules))
        if ((width += item.width) > rules.nameColumns && !past) past = item.offset;
    if (!past) return {};
    Problem p = problem(ProblemCode::NamePastColumns, *past);
    p.found = width, p.expected = rules.nameColumns;
    return {std::move(p)};
}

InferredLimits inferLimits(ConstCatalogue texts, ConstNameCatalogue names, const BoxRules& rules) {
    InferredLimits found;
    const std::vector<int> widths = nameWidths(names, rules);
    for (size_t i = 0; i < names.size(); ++i)
        if (widths[i] > found.nameColumns) found.nameColumns = widths[i], found.widestName = static_cast<int>(i);
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::vector<TextLine> lines = textLines(texts[i].unpacked, widths, rules);
        for (size_t l = 0; l < lines.size(); ++l) {
            if (lines[l].width > found.textColumns)
                found.textColumns = lines[l].width, found.widestText = static_cast<int>(i),
                found.widestTextLine = static_cast<int>(l);
            if (lines[l].lineInBox + 1 > found.textLines)
                found.textLines = lines[l].lineInBox + 1, found.longestText = static_cast<int>(i);
        }
    }
    return found;
}

}  // namespace velk
