// gettext PO files as bytes, read and written by the gettext project's own
// library (libgettextpo), so that msgfmt, msgmerge, Poedit and translation
// servers read exactly what VELK writes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/result.h"

namespace velk {

struct PoMessage {
    std::string context;  // msgctxt
    std::string id;       // msgid, UTF-8
    std::string str;      // msgstr, UTF-8; empty: untranslated
    bool fuzzy = false;
    std::vector<std::string> comments;  // extracted comments ("#."), one line each
    // Further flags of the "#," line, as written ("max-length:16"); gettext
    // keeps only its own, so these are written beside the library's output
    // and are not read back.
    std::vector<std::string> flags;
    // Where the message's "msgstr" keyword stands in the file (1-based; read only).
    size_t msgstrLine = 0;
};

struct PoCatalog {
    std::string header;  // the msgstr of the empty msgid: "Field: value\n" lines
    std::vector<PoMessage> messages;  // without the header, obsolete messages left out
};

// The file's bytes, in gettext's own layout.
std::vector<uint8_t> poFileBytes(const PoCatalog& catalog);

// Reads a PO file. A syntax error is ProblemCode::PoSyntax with gettext's own
// words and its line and column; a file whose charset is not UTF-8 is
// ProblemCode::PoNotUtf8.
Result<PoCatalog> readPoFile(std::span<const uint8_t> bytes);

// The value of a header field, or empty.
std::string poHeaderField(const std::string& header, const std::string& field);

// Where the byte at `offset` of a message's msgstr stands in the file:
// 1-based line and column in characters (a character of several bytes counts
// one), found by walking the quoted strings that follow its "msgstr" keyword.
struct PoPosition {
    size_t line = 0;
    size_t column = 0;
};
PoPosition poMsgstrPosition(std::span<const uint8_t> file, size_t msgstrLine, size_t offset);

}  // namespace velk
