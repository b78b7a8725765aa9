#include "ops/check_ops.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include "ops/file_steps.h"
#include "ops/messages.h"
#include "ops/po_ops.h"
#include "ops/project_ops.h"
#include "ops/script_file_checks.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/glossary.h"
#include "text/line_width.h"
#include "text/name_list.h"
#include "text/po_catalog.h"
#include "text/sjis.h"
#include "text/text_checks.h"
#include "text/text_collection.h"

namespace velk {
namespace {

constexpr const char* kNamesFile = "names.txt";
constexpr const char* kTextsFile = "texts.txt";

std::string entryName(CodeKind kind, size_t number) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s %04X", kind == CodeKind::Name ? "name" : "text", static_cast<unsigned>(number));
    return buf;
}

std::string_view viewOf(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

size_t utf8Length(uint8_t lead) { return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

// The text without the CR of each CR LF: how the project's files hold it.
std::string withoutCr(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

std::vector<size_t> lineStarts(std::string_view text) {
    std::vector<size_t> starts{0};
    for (size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) starts.push_back(i + 1);
    return starts;
}

// One name or text as a project file holds it.
struct EntryInFile {
    bool present = false;  // the file has it (otherwise it keeps the base's)
    bool encoded = false;
    size_t formBegin = 0, formEnd = 0;  // its text in the Shift-JIS form of the file
    std::vector<uint8_t> code;
    std::vector<uint32_t> offsets;  // each code byte's item, into the Shift-JIS form of the file
};

// names.txt or texts.txt: as read (UTF-8) and as the encoders read it
// (Shift-JIS, the same characters on the same lines and columns).
struct KindFile {
    CodeKind kind = CodeKind::Text;
    std::string name;
    std::string utf8, sjis;
    std::vector<size_t> utf8Lines, sjisLines;
    std::vector<EntryInFile> entries;
    // A PO file: its messages' texts stand one after the other in `sjis`,
    // each placed by its msgstr.
    struct PoPlace {
        size_t begin = 0, formBegin = 0, formEnd = 0;
        size_t msgstrLine = 0;
        std::string_view typed;  // the msgstr, UTF-8; empty: the msgid stands for it
    };
    std::vector<PoPlace> places;
    std::shared_ptr<const PoCatalog> catalog;

    Location at(size_t sjisOffset) const {
        if (!places.empty()) return poAt(sjisOffset);
        sjisOffset = std::min(sjisOffset, sjis.size());
        const size_t line = static_cast<size_t>(std::upper_bound(sjisLines.begin(), sjisLines.end(), sjisOffset) -
                                                sjisLines.begin()) - 1;
        int64_t column = 1;
        for (size_t i = sjisLines[line]; i < sjisOffset; ++column)
            i += isSjisLeadByte(static_cast<uint8_t>(sjis[i])) && i + 1 < sjisOffset ? 2 : 1;
        return {static_cast<int64_t>(line) + 1, column};
    }
    // In a PO file: the line and column of the character in its msgstr.
    Location poAt(size_t sjisOffset) const {
        const auto it = std::upper_bound(places.begin(), places.end(), sjisOffset,
                                         [](size_t o, const PoPlace& p) { return o < p.begin; });
        const PoPlace& p = *(it == places.begin() ? it : it - 1);
        const size_t inForm = std::clamp(sjisOffset, p.formBegin, p.formEnd) - p.formBegin;
        const size_t u = p.typed.empty() ? 0
                                         : poUtf8OffsetOf(std::string_view(sjis).substr(p.formBegin, p.formEnd - p.formBegin),
                                                          p.typed, inForm);
        // From the msgstr's own line: a file of thousands of messages is not
        // walked from its start for each finding.
        const size_t from = utf8Lines[std::min(p.msgstrLine, utf8Lines.size()) - 1];
        const std::span<const uint8_t> rest(reinterpret_cast<const uint8_t*>(utf8.data()) + from, utf8.size() - from);
        const PoPosition at = poMsgstrPosition(rest, 1, u);
        return {static_cast<int64_t>(p.msgstrLine + at.line - 1), static_cast<int64_t>(at.column)};
    }
    // The entry's text as the file holds it (Shift-JIS), with LF line ends.
    std::string form(const EntryInFile& e) const {
        return withoutCr(std::string_view(sjis).substr(e.formBegin, std::max(e.formBegin, e.formEnd) - e.formBegin));
    }
};

struct Desk {
    ProjectBase project;
    BoxRules rules;
    KindFile names, texts;
    DeskBook book;
    std::vector<Finding> findings;

    void find(const KindFile& file, size_t sjisOffset, bool error, const char* rule, std::string what,
              std::string entry) {
        const Location where = file.at(sjisOffset);
        findings.push_back({file.name, where.line, where.column, error, rule, std::move(what), std::move(entry)});
    }
};

// Converts the file to Shift-JIS; each character without a Shift-JIS form is
// a finding, and stands as "？" so that the rest is checked all the same.
// False when the file is no UTF-8 (a finding too): nothing of it is read.
bool convertFile(KindFile& file, std::vector<Finding>& findings) {
    file.utf8Lines = lineStarts(file.utf8);
    if (const std::optional<BadSequence> bad = firstInvalidUtf8(file.utf8)) {
        Problem p = problem(ProblemCode::NotUtf8, bad->offset);
        p.bytes = file.utf8.substr(bad->offset, bad->length);
        const size_t line = static_cast<size_t>(std::upper_bound(file.utf8Lines.begin(), file.utf8Lines.end(), bad->offset) -
                                                file.utf8Lines.begin());
        const std::string_view before = std::string_view(file.utf8).substr(file.utf8Lines[line - 1], bad->offset - file.utf8Lines[line - 1]);
        const auto column = 1 + std::count_if(before.begin(), before.end(), [](char c) { return (c & 0xC0) != 0x80; });
        findings.push_back({file.name, static_cast<int64_t>(line), column, true, "encoding", "the file " + problemReason(p), {}});
        return false;
    }
    if (std::optional<std::string> all = toCp932Strict(file.utf8)) {
        file.sjis = std::move(*all);
    } else {
        for (size_t l = 0; l < file.utf8Lines.size(); ++l) {
            const size_t begin = file.utf8Lines[l];
            const size_t end = l + 1 < file.utf8Lines.size() ? file.utf8Lines[l + 1] : file.utf8.size();
            const std::string_view line = std::string_view(file.utf8).substr(begin, end - begin);
            if (std::optional<std::string> whole = toCp932Strict(line)) {
                file.sjis += *whole;
                continue;
            }
            int64_t column = 1;
            for (size_t i = 0; i < line.size(); ++column) {
                const size_t n = std::min(utf8Length(static_cast<uint8_t>(line[i])), line.size() - i);
                if (std::optional<std::string> one = toCp932Strict(line.substr(i, n))) {
                    file.sjis += *one;
                } else {
                    Problem p = problem(ProblemCode::NoShiftJisForm);
                    p.bytes = std::string(line.substr(i, n));
                    findings.push_back({file.name, static_cast<int64_t>(l) + 1, column, true, "encoding", problemReason(p), {}});
                    file.sjis += "\x81\x48";  // ？
                }
                i += n;
            }
        }
    }
    file.sjisLines = lineStarts(file.sjis);
    return true;
}

Problem entryProblem(Problem p, CodeKind kind, size_t index) {
    p.record = kind == CodeKind::Name ? Record::Name : Record::Text;
    p.entry = static_cast<int64_t>(index);
    return p;
}

// The blocks of texts.txt as the import reads them: the k-th "##" is text
// k; a block that does not encode is a finding, and the next "##" after the
// trouble starts the next block.
void readTexts(Desk& desk, const GlyphLookup& glyphs) {
    KindFile& file = desk.texts;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.sjis.data()), file.sjis.size());
    size_t p = 0;
    for (size_t k = 0; k < file.entries.size(); ++k) {
        const size_t at = file.sjis.find("##", p);
        if (at == std::string::npos) break;
        EntryInFile& e = file.entries[k];
        e.present = true;
        size_t q = at;
        while (q < bytes.size() && bytes[q] != '\r' && bytes[q] != '\n') ++q;
        e.formBegin = std::min(bytes.size(), q + (q < bytes.size() && bytes[q] == '\r' ? 2 : 1));
        Result<EncodedText> r = encodeTextCode(bytes.subspan(at), glyphs, static_cast<int>(k), &e.offsets);
        if (!r) {
            const size_t trouble = at + r.problem().offset;
            desk.find(file, trouble, true, "encoding", problemReason(entryProblem(r.problem(), CodeKind::Text, k)),
                      entryName(CodeKind::Text, k));
            e.formEnd = std::max(e.formBegin, std::min(trouble, bytes.size()));
            e.offsets = {};
            p = std::max(trouble, at + 2);
            continue;
        }
        for (uint32_t& o : e.offsets) o += static_cast<uint32_t>(at);
        e.encoded = true;
        e.code = std::move(r->code);
        e.formEnd = std::max(e.formBegin, at + r->consumed - 2);
        p = at + r->consumed;
    }
}

// The lines of names.txt as the import reads them: a label of eight bytes,
// then the name up to its line end.
void readNames(Desk& desk, const GlyphLookup& glyphs) {
    KindFile& file = desk.names;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.sjis.data()), file.sjis.size());
    std::vector<NameEntry> scratch(1);
    size_t p = kNameLabelLength;
    for (size_t i = 0; i < file.entries.size() && p < bytes.size(); ++i) {
        EntryInFile& e = file.entries[i];
        e.present = true;
        e.formBegin = p;
        size_t lineEnd = p;
        while (lineEnd < bytes.size() && bytes[lineEnd] != '\r' && bytes[lineEnd] != '\n') ++lineEnd;
        e.formEnd = lineEnd;
        Result<int32_t> r = encodeName(scratch, 0, bytes.subspan(p), glyphs, &e.offsets);
        if (!r) {
            desk.find(file, p + r.problem().offset, true, "encoding",
                      problemReason(entryProblem(r.problem(), CodeKind::Name, i)), entryName(CodeKind::Name, i));
            const size_t next = file.sjis.find('\n', lineEnd);
            p = (next == std::string::npos ? bytes.size() : next + 1) + kNameLabelLength;
            continue;
        }
        for (uint32_t& o : e.offsets) o += static_cast<uint32_t>(p);
        e.encoded = true;
        e.code = std::move(scratch[0].code);
        p += static_cast<size_t>(*r) + kNameLabelLength;
    }
}

// A PO file of the project as import-po reads it: each message's msgstr (its
// msgid where empty) is the text of the entry its msgctxt names. The texts
// stand in the file's Shift-JIS form one after the other, a text's as the
// block a texts.txt would hold.
void readPo(Desk& desk, KindFile& file, const GlyphLookup& glyphs, size_t names, size_t texts) {
    file.utf8Lines = lineStarts(file.utf8);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.utf8.data()), file.utf8.size());
    Result<PoCatalog> read = readPoFile(bytes);
    if (!read) {
        const Problem& p = read.problem();
        desk.findings.push_back({file.name, std::max<int64_t>(p.line, 1), std::max<int64_t>(p.x, 1), true, "format",
                                 problemReason(p), {}});
        return;
    }
    // The messages' texts are views into the catalogue, kept with the file.
    auto catalog = std::make_shared<PoCatalog>(std::move(*read));
    file.catalog = catalog;
    const bool isName = file.kind == CodeKind::Name;
    std::vector<NameEntry> scratch(1);
    for (const PoMessage& m : catalog->messages) {
        const std::optional<EntryKey> key = parsePoEntryKey(m.context, names, texts);
        if (!key || key->kind != file.kind) {
            desk.findings.push_back({file.name, static_cast<int64_t>(m.msgstrLine), 1, false, "format",
                                     "msgctxt \"" + m.context + "\" names no " + (isName ? "name" : "text") +
                                         "; the message is passed over",
                                     {}});
            continue;
        }
        const std::string& typed = m.str.empty() ? m.id : m.str;
        Result<std::string> sjis = utf8ToSjis(typed);
        KindFile::PoPlace place{file.sjis.size(), 0, 0, m.msgstrLine, m.str};
        place.formBegin = place.begin + (isName ? 0 : 3);
        EntryInFile e;
        e.present = true;
        if (!sjis) {
            file.places.push_back(place);
            const PoPosition at = poMsgstrPosition(bytes, m.msgstrLine, m.str.empty() ? 0 : sjis.problem().offset);
            desk.findings.push_back({file.name, static_cast<int64_t>(at.line), static_cast<int64_t>(at.column), true,
                                     "encoding", problemReason(entryProblem(sjis.problem(), file.kind, key->index)),
                                     entryName(file.kind, key->index)});
            file.sjis += isName ? toCp932(typed) + "\n" : "##\n" + toCp932(typed) + "//";
            e.formBegin = place.formBegin;
            e.formEnd = file.sjis.size() - (isName ? 1 : 2);
            file.entries[key->index] = std::move(e);
            continue;
        }
        file.sjis += isName ? *sjis + "\n" : "##\n" + *sjis + "//";
        place.formEnd = place.formBegin + sjis->size();
        file.places.push_back(place);
        e.formBegin = place.formBegin;
        e.formEnd = place.formEnd;
        const std::span<const uint8_t> form(reinterpret_cast<const uint8_t*>(file.sjis.data()) + place.begin,
                                            file.sjis.size() - place.begin);
        if (isName) {
            Result<int32_t> r = encodeName(scratch, 0, form, glyphs, &e.offsets);
            if (r) e.code = std::move(scratch[0].code);
            else desk.find(file, place.begin + r.problem().offset, true, "encoding",
                           problemReason(entryProblem(r.problem(), file.kind, key->index)), entryName(file.kind, key->index));
            e.encoded = static_cast<bool>(r);
        } else {
            Result<EncodedText> r = encodeTextCode(form, glyphs, static_cast<int>(key->index), &e.offsets);
            if (r) e.code = std::move(r->code);
            else desk.find(file, place.begin + r.problem().offset, true, "encoding",
                           problemReason(entryProblem(r.problem(), file.kind, key->index)), entryName(file.kind, key->index));
            e.encoded = static_cast<bool>(r);
        }
        if (!e.encoded) e.offsets = {};
        for (uint32_t& o : e.offsets) o += static_cast<uint32_t>(place.begin);
        file.entries[key->index] = std::move(e);
    }
}

// Reads a text file of the project whole; one past the largest is refused,
// and so is a FIFO or a device, which would never end.
Result<std::vector<uint8_t>> readProjectText(Platform& platform, const std::filesystem::path& path) {
    if (Status s = checkRegularFile(platform.fileIdentity(path)); !s) return aboutFile(std::move(s.problem()), path);
    Result<std::vector<uint8_t>> bytes = readFileAt(platform, path, kMaxTextFileBytes + 1);
    if (bytes && bytes->size() > kMaxTextFileBytes) return aboutFile(tooLarge(kMaxTextFileBytes), path);
    return bytes;
}

// The same for a file the project may leave out: nothing when it is not there.
Result<std::optional<std::vector<uint8_t>>> readOptional(Platform& platform, const std::filesystem::path& path) {
    if (!platform.fileIdentity(path)) return std::optional<std::vector<uint8_t>>();
    Result<std::vector<uint8_t>> bytes = readProjectText(platform, path);
    if (!bytes) return std::move(bytes.problem());
    return std::optional<std::vector<uint8_t>>(std::move(*bytes));
}

// A located problem of status.tsv or glossary.tsv as a finding.
Finding formatFinding(const char* file, const Problem& p) {
    return {file, p.line, p.x, true, "format", problemReason(p), {}};
}

// Everything a check or the figures read: the project's base and rules, its
// names and texts encoded as the build would, and its status file.
Result<Desk> openDesk(const EditorState& base, Platform& platform, const std::filesystem::path& dir, bool anyBase) {
    Result<ProjectBase> project = openProjectBase(base, platform, dir, anyBase);
    if (!project) return std::move(project.problem());
    Desk desk;
    desk.project = std::move(*project);
    desk.rules = boxRulesOf(desk.project.box, base);
    const GlyphLookup glyphs(base.tables, base.options.fullWidth);
    const Catalogues& c = base.catalogues;
    for (auto [file, kind, name, count] : {std::tuple{&desk.names, CodeKind::Name, kNamesFile, c.names.size()},
                                           std::tuple{&desk.texts, CodeKind::Text, kTextsFile, c.texts().size()}}) {
        file->kind = kind;
        // A project may keep its names or texts as PO instead.
        const bool po = keepsPo(platform, dir, kind);
        file->name = po ? std::string(kPoFolder) + "/" + (kind == CodeKind::Name ? kNamesPo : kTextsPo) : name;
        file->entries.resize(count);
        Result<std::vector<uint8_t>> bytes = readProjectText(platform, dir / file->name);
        if (!bytes) return std::move(bytes.problem());
        if (po) {
            file->utf8.assign(bytes->begin(), bytes->end());
            readPo(desk, *file, glyphs, c.names.size(), c.texts().size());
            continue;
        }
        // A byte-order mark some editors write is no character of the file.
        const bool marked = bytes->size() >= 3 && (*bytes)[0] == 0xEF && (*bytes)[1] == 0xBB && (*bytes)[2] == 0xBF;
        file->utf8.assign(bytes->begin() + (marked ? 3 : 0), bytes->end());
        if (!convertFile(*file, desk.findings)) continue;
        if (kind == CodeKind::Name)
            readNames(desk, glyphs);
        else
            readTexts(desk, glyphs);
    }
    Result<std::optional<std::vector<uint8_t>>> status = readOptional(platform, dir / kDeskStatusFileName);
    if (!status) return std::move(status.problem());
    if (*status) {
        Result<DeskBook> book = parseDeskStatus(**status, {c.names.size(), c.texts().size()});
        if (book)
            desk.book = std::move(*book);
        else
            desk.findings.push_back(formatFinding(kDeskStatusFileName, book.problem()));
    }
    return desk;
}

// The base's own texts of one kind, as its export writes them (Shift-JIS, LF).
std::vector<std::string> originalForms(CodeKind kind, const EditorState& base) {
    const Catalogues& c = base.catalogues;
    std::vector<std::string> forms;
    if (kind == CodeKind::Text) {
        forms.resize(c.texts().size());
        for (size_t i = 0; i < forms.size(); ++i)
            forms[i] = withoutCr(decodeText(c.texts(), static_cast<int>(i), c.names, base.tables));
        return forms;
    }
    const std::vector<uint8_t> list = nameListBytes(c.names);
    const std::string_view all = viewOf(list);
    for (size_t at = 0; at < all.size() && forms.size() < c.names.size();) {
        const size_t end = std::min(all.find("\r\n", at), all.size());
        const size_t begin = std::min(at + kNameLabelLength, end);
        forms.emplace_back(all.substr(begin, end - begin));
        at = end + 2;
    }
    forms.resize(c.names.size());
    return forms;
}

// The entries of one kind: the base's text, the project's, and the status.
struct KindView {
    std::vector<std::string> originals, forms;
    std::vector<bool> same;  // the project's text is the original
};
KindView kindView(const KindFile& file, const EditorState& base) {
    KindView v{originalForms(file.kind, base), std::vector<std::string>(file.entries.size()), {}};
    v.same.resize(file.entries.size());
    for (size_t i = 0; i < v.forms.size(); ++i) {
        v.forms[i] = file.entries[i].present ? file.form(file.entries[i]) : v.originals[i];
        v.same[i] = v.forms[i] == v.originals[i];
    }
    return v;
}

std::string plural(size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

void checkFit(Desk& desk, const KindFile& file, std::span<const int> widths) {
    for (size_t i = 0; i < file.entries.size(); ++i) {
        const EntryInFile& e = file.entries[i];
        if (!e.encoded) continue;
        for (const Problem& p : fitProblems(e.code, file.kind, widths, desk.rules))
            desk.find(file, p.offset < e.code.size() ? e.offsets[p.offset] : e.formEnd, true, "fit", problemReason(p),
                      entryName(file.kind, i));
    }
}

// Glossary terms, repeats and locks of one kind of entry.
void checkDesk(Desk& desk, const KindFile& file, const EditorState& base, std::span<const GlossaryTerm> glossary) {
    const auto [originals, forms, same] = kindView(file, base);
    std::vector<DeskStatus> status(file.entries.size());
    for (size_t i = 0; i < forms.size(); ++i) {
        const DeskLine* line = desk.book.find(file.kind, static_cast<int>(i));
        status[i] = statusOf(line, same[i]);
        const EntryInFile& e = file.entries[i];
        if (status[i] == DeskStatus::Locked && !line->lockedSha1.empty() &&
            lockedTextSha1(fromCp932(forms[i])) != line->lockedSha1)
            desk.find(file, e.formBegin, true, "locked", "the entry is locked, but its text is no longer the one locked",
                      entryName(file.kind, i));
        if (status[i] == DeskStatus::Untranslated || !e.present) continue;
        for (const GlossaryTerm* term : missingTerms(glossary, originals[i], forms[i]))
            desk.find(file, e.formBegin, false, "glossary",
                      "the original has '" + fromCp932(term->original) + "', the text lacks its translation '" +
                          fromCp932(term->translation) + "' (glossary.tsv line " + std::to_string(term->line) + ")",
                      entryName(file.kind, i));
    }
    for (const std::vector<size_t>& group : repeatGroups(originals)) {
        // The translation most of the group's translated entries have (the
        // first entry's on a tie) is the one the others are told of.
        std::map<std::string_view, size_t> votes;
        const std::string_view* usual = nullptr;
        size_t most = 0;
        for (const size_t i : group) {
            if (status[i] == DeskStatus::Untranslated) continue;
            const auto it = votes.emplace(forms[i], 0).first;
            if (++it->second > most) most = it->second, usual = &it->first;
        }
        if (votes.size() < 2) continue;
        const auto& translated = forms;  // a structured binding is not captured by every compiler
        const size_t model = *std::find_if(group.begin(), group.end(), [&](size_t i) {
            return status[i] != DeskStatus::Untranslated && translated[i] == *usual;
        });
        for (const size_t i : group)
            if (status[i] != DeskStatus::Untranslated && forms[i] != *usual && file.entries[i].present)
                desk.find(file, file.entries[i].formBegin, false, "repeats",
                          "the same original as " + entryName(file.kind, model) + ", translated differently",
                          entryName(file.kind, i));
    }
}

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<uint8_t>(c) < 0x20) {
            char u[8];
            std::snprintf(u, sizeof u, "\\u%04x", static_cast<unsigned>(c));
            out += u;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string xmlEscaped(std::string_view s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += static_cast<uint8_t>(c) < 0x20 && c != '\t' && c != '\n' ? '?' : c;
        }
    }
    return out;
}

std::string markdownCell(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == '|') out += '\\';
        out += c == '\n' ? ' ' : c;
    }
    return out;
}

bool isError(const CheckReport&, const Finding& f) { return f.error; }

std::string findingLine(const CheckReport& r, const Finding& f) {
    return f.file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + ": " +
           (isError(r, f) ? "error" : "warning") + ": " + f.what + (f.entry.empty() ? "" : " (" + f.entry + ")");
}

std::string summaryLine(const CheckReport& r) {
    return "check: " + plural(r.errors(), "error") + ", " + plural(r.warnings(), "warning") + " in " +
           plural(r.names, "name") + " and " + plural(r.texts, "text");
}

}  // namespace

std::optional<ReportFormat> reportFormatNamed(std::string_view name) {
    if (name == "text") return ReportFormat::Text;
    if (name == "json") return ReportFormat::Json;
    if (name == "markdown") return ReportFormat::Markdown;
    if (name == "junit") return ReportFormat::Junit;
    return std::nullopt;
}

size_t CheckReport::errors() const {
    return static_cast<size_t>(std::count_if(findings.begin(), findings.end(), [&](const Finding& f) { return isError(*this, f); }));
}

size_t CheckReport::warnings() const { return findings.size() - errors(); }

Outcome checkProjectAt(const EditorState& base, Platform& platform, const std::filesystem::path& dir,
                       const DeskOptions& options, CheckReport& report) {
    report = CheckReport{};
    report.strict = options.strict;
    Result<Desk> opened = openDesk(base, platform, dir, options.anyBase);
    if (!opened) return failedWith(opened.problem());
    Desk& desk = *opened;
    std::vector<GlossaryTerm> glossary;
    Result<std::optional<std::vector<uint8_t>>> glossaryFile = readOptional(platform, dir / kGlossaryFileName);
    if (!glossaryFile) return failedWith(glossaryFile.problem());
    if (*glossaryFile) {
        Result<std::vector<GlossaryTerm>> terms = parseGlossary(**glossaryFile);
        // Compared as the files are read, in Shift-JIS; a term without a
        // Shift-JIS form is in no text.
        if (terms) {
            for (GlossaryTerm& term : *terms) {
                std::optional<std::string> original = toCp932Strict(term.original);
                std::optional<std::string> translation = toCp932Strict(term.translation);
                if (!original || !translation) continue;
                term.original = std::move(*original);
                term.translation = std::move(*translation);
                glossary.push_back(std::move(term));
            }
        }
        else
            desk.findings.push_back(formatFinding(kGlossaryFileName, terms.problem()));
    }
    // Word references are as wide as the project's names, as they stand.
    std::vector<int> widths(base.catalogues.names.size());
    for (size_t i = 0; i < widths.size(); ++i) {
        const EntryInFile& e = desk.names.entries[i];
        widths[i] = nameWidth(e.encoded ? std::span<const uint8_t>(e.code) : std::span<const uint8_t>(base.catalogues.names[i].code),
                              desk.rules);
    }
    for (const KindFile* file : {&desk.names, &desk.texts}) {
        checkFit(desk, *file, widths);
        checkDesk(desk, *file, base, glossary);
    }
    std::stable_sort(desk.findings.begin(), desk.findings.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.file, a.line, a.column) < std::tie(b.file, b.line, b.column);
    });
    report.findings = std::move(desk.findings);
    if (options.strict)
        for (Finding& f : report.findings) f.error = true;
    report.namesFile = desk.names.name;
    report.textsFile = desk.texts.name;
    report.names = base.catalogues.names.size();
    report.texts = base.catalogues.texts().size();
    const std::string summary = summaryLine(report);
    // The first error goes with the summary, for a watch's one line.
    const auto first = std::find_if(report.findings.begin(), report.findings.end(), [](const Finding& f) { return f.error; });
    if (first != report.findings.end()) return failedOutcome(Message{toCp932(summary), summary, findingLine(report, *first)});
    return doneOutcome(toCp932(summary));
}

std::string checkReportText(const CheckReport& r, ReportFormat format) {
    std::string out;
    switch (format) {
        case ReportFormat::Text:
            for (const Finding& f : r.findings) out += findingLine(r, f) + "\n";
            return out + summaryLine(r) + "\n";
        case ReportFormat::Json:
            out = "[";
            for (size_t i = 0; i < r.findings.size(); ++i) {
                const Finding& f = r.findings[i];
                out += std::string(i ? ",\n " : "\n ") + "{\"file\": " + jsonString(f.file) +
                       ", \"line\": " + std::to_string(f.line) + ", \"column\": " + std::to_string(f.column) +
                       ", \"severity\": \"" + (isError(r, f) ? "error" : "warning") + "\", \"rule\": " + jsonString(f.rule) +
                       ", \"entry\": " + jsonString(f.entry) + ", \"message\": " + jsonString(f.what) + "}";
            }
            return out + (r.findings.empty() ? "]\n" : "\n]\n");
        case ReportFormat::Markdown:
            out = "| file | line | column | severity | rule | entry | what |\n|---|---:|---:|---|---|---|---|\n";
            for (const Finding& f : r.findings)
                out += "| " + f.file + " | " + std::to_string(f.line) + " | " + std::to_string(f.column) + " | " +
                       (isError(r, f) ? "error" : "warning") + " | " + f.rule + " | " + f.entry + " | " +
                       markdownCell(f.what) + " |\n";
            return out + "\n" + summaryLine(r) + "\n";
        case ReportFormat::Junit: {
            // One test case per rule and file: every rule on both entry files,
            // and any other file a finding names.
            std::vector<std::pair<std::string, std::string>> cases;
            for (const std::string& file : {r.namesFile, r.textsFile})
                for (const char* rule : {"encoding", "fit", "glossary", "repeats", "locked"}) cases.emplace_back(file, rule);
            for (const Finding& f : r.findings)
                if (std::find(cases.begin(), cases.end(), std::pair(f.file, f.rule)) == cases.end()) cases.emplace_back(f.file, f.rule);
            std::string body;
            size_t failures = 0;
            for (const auto& [file, rule] : cases) {
                std::string inner;
                for (const Finding& f : r.findings) {
                    if (f.file != file || f.rule != rule) continue;
                    ++failures;
                    inner += "      <failure type=\"" + std::string(isError(r, f) ? "error" : "warning") + "\" message=\"" +
                             xmlEscaped(f.what + (f.entry.empty() ? "" : " (" + f.entry + ")")) + "\">" +
                             xmlEscaped(findingLine(r, f)) + "</failure>\n";
                }
                body += "    <testcase classname=\"" + xmlEscaped(file) + "\" name=\"" + xmlEscaped(rule) + "\" file=\"" +
                        xmlEscaped(file) + "\"" + (inner.empty() ? "/>\n" : ">\n" + inner + "    </testcase>\n");
            }
            const std::string counts = " tests=\"" + std::to_string(cases.size()) + "\" failures=\"" + std::to_string(failures) + "\" errors=\"0\"";
            return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"velk check\"" + counts +
                   ">\n  <testsuite name=\"velk check\"" + counts + ">\n" + body + "  </testsuite>\n</testsuites>\n";
        }
    }
    return out;
}

Outcome projectFiguresAt(const EditorState& base, Platform& platform, const std::filesystem::path& dir,
                         const DeskOptions& options, ProjectFigures& figures) {
    Result<Desk> opened = openDesk(base, platform, dir, options.anyBase);
    if (!opened) return failedWith(opened.problem());
    Desk& desk = *opened;
    // A status file that does not parse would make every figure wrong.
    for (const Finding& f : desk.findings)
        if (f.file == kDeskStatusFileName) {
            const std::string where = f.file + ":" + std::to_string(f.line) + ":" + std::to_string(f.column) + ": " + f.what;
            return failedOutcome(Message{toCp932(where), where, {}});
        }
    for (auto [file, out] : {std::pair{&desk.names, &figures.names}, std::pair{&desk.texts, &figures.texts}}) {
        const std::vector<bool> same = kindView(*file, base).same;
        *out = deskFigures(desk.book, file->kind, same.size(), [&](size_t i) { return static_cast<bool>(same[i]); });
    }
    return doneOutcome({});
}

std::optional<std::string> figuresText(const ProjectFigures& figures, ReportFormat format) {
    static const char* const kColumns[] = {"total", "untranslated", "draft", "review", "done", "locked"};
    auto values = [](const DeskFigures& f) {
        std::vector<size_t> v{f.total};
        for (const size_t n : f.byStatus) v.push_back(n);
        return v;
    };
    const std::pair<const char*, std::vector<size_t>> rows[] = {{"names", values(figures.names)},
                                                                {"texts", values(figures.texts)}};
    std::string out;
    switch (format) {
        case ReportFormat::Text: {
            char cell[32];
            out = "     ";
            for (const char* c : kColumns) std::snprintf(cell, sizeof cell, " %12s", c), out += cell;
            out += '\n';
            for (const auto& [name, v] : rows) {
                out += name;
                for (const size_t n : v) std::snprintf(cell, sizeof cell, " %12zu", n), out += cell;
                out += '\n';
            }
            return out;
        }
        case ReportFormat::Json:
            out = "{";
            for (const auto& [name, v] : rows) {
                out += std::string(out.size() > 1 ? ",\n " : "\n ") + "\"" + name + "\": {";
                for (size_t i = 0; i < v.size(); ++i)
                    out += std::string(i ? ", " : "") + "\"" + kColumns[i] + "\": " + std::to_string(v[i]);
                out += "}";
            }
            return out + "\n}\n";
        case ReportFormat::Markdown:
            out = "| |";
            for (const char* c : kColumns) out += std::string(" ") + c + " |";
            out += "\n|---|---:|---:|---:|---:|---:|---:|\n";
            for (const auto& [name, v] : rows) {
                out += std::string("| ") + name + " |";
                for (const size_t n : v) out += " " + std::to_string(n) + " |";
                out += '\n';
            }
            return out;
        case ReportFormat::Junit: break;
    }
    return std::nullopt;
}

}  // namespace velk
