// What a filter field finds: text folded to one width and case (NFKC, case
// folding), or code bytes written "<F0 12>".
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace velk {

// Full-width and half-width forms, and upper and lower case, fold together.
QString foldForSearch(const QString& text);

// Where a (non-code) query stands in `text`, as start and length pairs in
// `text`, folded as the filter folds them; none for an empty query.
std::vector<std::pair<qsizetype, qsizetype>> matchRanges(const QString& text, const QString& query);

// The bytes of a query written "<F0 12>" (pairs of hex digits, spaces
// between pairs optional); nothing for any other query.
std::optional<std::vector<uint8_t>> codeQuery(const QString& query);

// Whether `code` holds `bytes` somewhere in it.
bool holdsBytes(std::span<const uint8_t> code, std::span<const uint8_t> bytes);

}  // namespace velk
