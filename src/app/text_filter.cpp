#include "app/text_filter.h"

#include <QRegularExpression>
#include <algorithm>

namespace velk {

QString foldForSearch(const QString& text) { return text.normalized(QString::NormalizationForm_KC).toCaseFolded(); }

std::vector<std::pair<qsizetype, qsizetype>> matchRanges(const QString& text, const QString& query) {
    std::vector<std::pair<qsizetype, qsizetype>> ranges;
    const QString folded = foldForSearch(query);
    if (folded.isEmpty() || codeQuery(query)) return ranges;
    // Each character folded on its own, and where its folded form starts.
    QString all;
    std::vector<qsizetype> from;  // from[i]: the character of `text` folded into all[i]
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = foldForSearch(text.mid(i, n));
        all += one;
        from.insert(from.end(), static_cast<size_t>(one.size()), i);
        i += n;
    }
    from.push_back(text.size());
    for (qsizetype at = all.indexOf(folded); at >= 0; at = all.indexOf(folded, at + folded.size())) {
        const qsizetype start = from[static_cast<size_t>(at)];
        qsizetype end = from[static_cast<size_t>(at + folded.size() - 1)];
        end += text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        ranges.emplace_back(start, end - start);
    }
    return ranges;
}

std::optional<std::vector<uint8_t>> codeQuery(const QString& query) {
    static const QRegularExpression form(QStringLiteral("^\\s*<\\s*((?:[0-9A-Fa-f]{2}\\s*)+)>\\s*$"));
    const QRegularExpressionMatch m = form.match(foldForSearch(query));
    if (!m.hasMatch()) return std::nullopt;
    QString digits = m.captured(1);
    digits.remove(QRegularExpression(QStringLiteral("\\s")));
    std::vector<uint8_t> bytes;
    for (qsizetype i = 0; i + 1 < digits.size(); i += 2) bytes.push_back(static_cast<uint8_t>(digits.mid(i, 2).toUInt(nullptr, 16)));
    return bytes;
}

bool holdsBytes(std::span<const uint8_t> code, std::span<const uint8_t> bytes) {
    return !bytes.empty() && std::search(code.begin(), code.end(), bytes.begin(), bytes.end()) != code.end();
}

}  // namespace velk
