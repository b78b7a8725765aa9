#include "app/text_filter.h"

#include <QRegularExpression>
#include <algorithm>

namespace velk {

QString foldForSearch(const QString& text) { return text.normalized(QString::NormalizationForm_KC).toCaseFolded(); }

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
