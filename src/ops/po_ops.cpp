#include "ops/po_ops.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <ctime>

#include "image/hex.h"
#include "image/parallel.h"
#include "ops/file_steps.h"
#include "ops/messages.h"
#include "ops/project_ops.h"
#include "ops/reads_the_same.h"
#include "ops/script_file_checks.h"
#include "pack/pack_profiles.h"
#include "patch/bps.h"
#include "text/decode.h"
#include "text/encode.h"
#include "text/desk_status.h"
#include "text/line_width.h"
#include "text/name_list.h"
#include "text/po_catalog.h"
#include "text/sjis.h"

namespace velk {
namespace {

// gettext's own "not set yet" value, as xgettext writes it in a template.
constexpr const char* kNoDate = "YEAR-MO-DA HO:MI+ZONE";
// The export's date is no property of the base, so the templates carry a
// fixed one: the same base gives the same bytes on every machine.
constexpr const char* kBaseDate = "1970-01-01 00:00+0000";

// Weblate's placeholders: the textual forms of the codes a translation must
// keep. A word reference is matched by its number only (the name it shows
// follows the name list). No commas, quotes or blanks, which the "#," line
// would split at.
constexpr const char* kPlaceholders =
    "placeholders:r\"(?i)\\?[\\dA-F]{2}\\x20[\\dA-F]{2}\\?|![\\dA-F]{2}!|\\((?:主人公|騎士団|冷や汗|ハート|旗)\\)|"
    "\\[F[\\dA-F]\\x20[\\dA-F]{2}(?=:\\()\"";

// Every name and text of a state as a PO file shows it (UTF-8), converted
// all at once: the Shift-JIS forms joined by zero bytes, which both
// encodings keep, go through one converter.
struct PoForms {
    std::vector<std::string> names, texts;
    const std::vector<std::string>& of(CodeKind kind) const { return kind == CodeKind::Name ? names : texts; }
};
PoForms poForms(const EditorState& s) {
    const Catalogues& c = s.catalogues;
    std::vector<std::string> sjis(c.names.size() + c.texts().size());
    parallelFor(sjis.size(), [&](size_t i) {
        std::string& out = sjis[i];
        if (i < c.names.size()) {
            appendOnOneLine(out, nameText(c.names[i]));
            return;
        }
        const std::string text = decodeText(c.texts(), static_cast<int>(i - c.names.size()), c.names, s.tables);
        out.reserve(text.size());
        for (size_t k = 0; k < text.size(); ++k)
            if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n')) out += text[k];
    }, 64);
    std::string joined;
    for (const std::string& one : sjis) joined.append(one).push_back('\0');
    const std::string utf8 = fromCp932(joined);
    PoForms forms;
    std::string_view rest = utf8;
    for (size_t i = 0; i < sjis.size() && !rest.empty(); ++i) {
        const size_t end = std::min(rest.find('\0'), rest.size());
        (i < c.names.size() ? forms.names : forms.texts).emplace_back(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    forms.names.resize(c.names.size());
    forms.texts.resize(c.texts().size());
    return forms;
}

std::string hex8(uint32_t v) {
    char s[9];
    std::snprintf(s, sizeof s, "%08X", v);
    return s;
}

std::string nameLabel(size_t i) {
    std::string out = "[";
    appendHexByte(out, static_cast<uint8_t>(0xF0 + (i >> 8)));
    out += ' ';
    appendHexByte(out, static_cast<uint8_t>(i & 0xFF));
    return out + "]";
}

// The names a text's code refers to, in order of first use.
std::vector<size_t> namesUsed(std::span<const uint8_t> code, size_t nameCount) {
    std::vector<size_t> out;
    for (size_t p = 0; p < code.size();) {
        const uint8_t b0 = code[p];
        const size_t n = static_cast<size_t>(std::max(1, codeItemLength(b0, CodeKind::Text)));
        if (b0 >= 0xF0 && b0 <= 0xF9 && p + 1 < code.size()) {
            const size_t name = static_cast<size_t>(b0 - 0xF0) << 8 | code[p + 1];
            if (name < nameCount && std::find(out.begin(), out.end(), name) == out.end()) out.push_back(name);
        }
        p += n;
    }
    return out;
}

// A text's original compared with a msgid, the names its word references
// show left out (they follow the name list, which may be translated).
std::string withoutReferencedNames(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool reference = text[i] == '[' && i + 7 < text.size() && text[i + 1] == 'F' && text[i + 6] == ':' &&
                               text[i + 7] == '(';
        const size_t close = reference ? text.find(")]", i + 8) : std::string_view::npos;
        if (close == std::string_view::npos) {
            out += text[i];
            continue;
        }
        out.append(text.substr(i, 6)).append("]");  // "[F1 23]"
        i = close + 1;
    }
    return out;
}

// Whether a text holds a form the placeholders flag matches.
bool holdsCodeForm(std::string_view text) { return text.find_first_of("?!([") != std::string_view::npos; }

// What a PO export is made of: the base (the originals), the state with the
// translation, and the project's words for the header.
struct PoSource {
    const EditorState& original;
    const EditorState& current;
    std::string project;
    std::string language;
    uint32_t baseCrc = 0;
    BoxRules rules;
    DeskBook book;  // the project's status.tsv
    PoForms originals, translations;
};

// The box an entry must fit, as a comment; and Weblate's max-length, which
// counts the characters of the whole translation, where that is the same
// limit: an entry of one line whose original holds no code's textual form
// (whose characters are then its cells).
void addFit(PoMessage& m, const BoxRules& rules, CodeKind kind) {
    const bool oneLine = kind == CodeKind::Name || (rules.textLines == 1 && rules.textBoxBreak.empty());
    const int columns = kind == CodeKind::Name ? rules.nameColumns : rules.textColumns;
    std::string fit = "fits: " + std::to_string(columns) + " cells";
    if (kind == CodeKind::Text) {
        fit += " a line, " + std::to_string(rules.textLines) + (rules.textLines == 1 ? " line" : " lines");
        if (!rules.textBoxBreak.empty()) {
            std::string code;
            for (uint8_t b : rules.textBoxBreak) {
                if (!code.empty()) code += ' ';
                appendHexByte(code, b);
            }
            fit += " a box (a box ends at code " + code + ")";
        }
    }
    m.comments.push_back(fit);
    if (oneLine && !holdsCodeForm(m.id)) m.flags.push_back("max-length:" + std::to_string(columns));
}

std::string poHeader(const PoSource& src, CodeKind kind, const std::string& revisionDate) {
    return "Project-Id-Version: " + src.project + "\n" +
           "Report-Msgid-Bugs-To: \n"
           "POT-Creation-Date: " + kBaseDate + "\n" +
           "PO-Revision-Date: " + revisionDate + "\n" +
           "Last-Translator: \n"
           "Language-Team: \n"
           "Language: " + src.language + "\n" +
           "MIME-Version: 1.0\n"
           "Content-Type: text/plain; charset=UTF-8\n"
           "Content-Transfer-Encoding: 8bit\n"
           "X-Generator: VELK\n"
           "X-Velk-Base-CRC32: " + hex8(src.baseCrc) + "\n" +
           "X-Velk-Entries: " + (kind == CodeKind::Name ? "names" : "texts") + "\n";
}

// The catalogue of one kind; a template holds the originals only.
PoCatalog poCatalog(const PoSource& src, CodeKind kind, bool isTemplate) {
    PoCatalog catalog;
    const Catalogues& base = src.original.catalogues;
    const Catalogues& now = src.current.catalogues;
    const size_t count = kind == CodeKind::Name ? base.names.size() : base.texts().size();
    catalog.messages.resize(count);
    parallelFor(count, [&](size_t i) {
        PoMessage& m = catalog.messages[i];
        m.context = poEntryKey(kind, i);
        m.id = src.originals.of(kind)[i];
        if (!isTemplate && i < src.translations.of(kind).size()) m.str = src.translations.of(kind)[i];
        if (kind == CodeKind::Name) {
            m.comments.push_back(m.context + ", " + nameLabel(i) + " in texts");
        } else {
            m.comments.push_back(m.context);
            const std::span<const uint8_t> code = i < now.texts().size() ? std::span<const uint8_t>(now.texts()[i].unpacked)
                                                                         : std::span<const uint8_t>();
            const std::vector<size_t> used = namesUsed(isTemplate ? base.texts()[i].unpacked : code, now.names.size());
            if (!used.empty()) {
                std::string line = "names:";
                for (size_t n : used)
                    line += (line.size() > 6 ? ", " : " ") + nameLabel(n) + " " + (isTemplate ? src.originals : src.translations).names[n];
                m.comments.push_back(line);
            }
        }
        addFit(m, src.rules, kind);
        // The desk's status: untranslated has no msgstr, draft and review are fuzzy.
        const DeskLine* line = src.book.find(kind, static_cast<int>(i));
        // A text that differs only in the names its word references show is
        // still the original: the name was translated, not the text.
        const bool same = m.str == m.id || (kind == CodeKind::Text && withoutReferencedNames(m.str) == withoutReferencedNames(m.id));
        const DeskStatus status = isTemplate ? DeskStatus::Untranslated : statusOf(line, same);
        if (status == DeskStatus::Untranslated) m.str.clear();
        m.fuzzy = status == DeskStatus::Draft || status == DeskStatus::Review;
        if (!isTemplate && line && !line->note.empty()) {
            std::string_view note = line->note;
            for (const char* lead = "note: "; !note.empty(); lead = "  ") {
                const size_t end = std::min(note.find('\n'), note.size());
                m.comments.push_back(lead + std::string(note.substr(0, end)));
                note.remove_prefix(std::min(end + 1, note.size()));
            }
        }
        if (holdsCodeForm(m.id)) m.flags.push_back(kPlaceholders);
    }, 64);
    return catalog;
}

std::string utcNow() {
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    gmtime_r(&t, &tm);
    char s[32];
    std::strftime(s, sizeof s, "%Y-%m-%d %H:%M+0000", &tm);
    return s;
}

std::span<const uint8_t> bytesOf(std::string_view s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

Outcome writePoFile(Platform& platform, const std::filesystem::path& path, std::span<const uint8_t> bytes) {
    if (Status s = platform.writeFile(path, bytes); !s) return fileFailure(std::move(s.problem()), path, true);
    return doneOutcome({});
}

// A .po file's bytes: with the PO-Revision-Date of the file already there
// when nothing else in it changed; otherwise with the given date, or gettext's
// unset value for a file that holds no translation yet. The file is made
// once, with a stand-in for the date put in after.
std::vector<uint8_t> poBytesKeepingDate(PoCatalog catalog, const PoSource& src, CodeKind kind,
                                        const Result<std::vector<uint8_t>>& existing, const std::string& date) {
    static constexpr std::string_view kStandIn = "VELK-PO-REVISION-DATE";
    catalog.header = poHeader(src, kind, std::string(kStandIn));
    const std::vector<uint8_t> made = poFileBytes(catalog);
    const std::string_view view(reinterpret_cast<const char*>(made.data()), made.size());
    const size_t at = view.find(kStandIn);
    auto withDate = [&](std::string_view d) {
        std::vector<uint8_t> out(made.begin(), made.begin() + static_cast<std::ptrdiff_t>(at));
        out.insert(out.end(), d.begin(), d.end());
        out.insert(out.end(), made.begin() + static_cast<std::ptrdiff_t>(at + kStandIn.size()), made.end());
        return out;
    };
    if (existing) {
        // The date as the old file's header line holds it.
        const std::string_view old(reinterpret_cast<const char*>(existing->data()), existing->size());
        const std::string_view field = "\"PO-Revision-Date: ";
        const size_t from = old.substr(0, 4096).find(field);
        const size_t to = from == std::string_view::npos ? from : old.find("\\n\"", from);
        if (to != std::string_view::npos) {
            std::vector<uint8_t> same = withDate(old.substr(from + field.size(), to - from - field.size()));
            if (same == *existing) return same;
        }
    }
    const bool translated = std::any_of(catalog.messages.begin(), catalog.messages.end(),
                                        [](const PoMessage& m) { return !m.str.empty(); });
    return withDate(translated || existing ? date : kNoDate);
}

// The message a msgstr that cannot be read stops at, FILE.po:LINE:COL.
Outcome msgstrFailure(Problem p, const std::filesystem::path& file, std::span<const uint8_t> bytes, const PoMessage& m,
                      size_t utf8Offset, std::vector<std::string> warnings) {
    const PoPosition at = poMsgstrPosition(bytes, m.msgstrLine, utf8Offset);
    return failedWith(aboutFile(std::move(p), file, false, at.line, at.column), nullptr, std::move(warnings));
}

// The project's status.tsv; an empty book when it has none.
Result<DeskBook> readDeskBook(const EditorState& state, Platform& platform, const std::filesystem::path& dir) {
    const std::filesystem::path path = dir / kDeskStatusFileName;
    if (!platform.fileIdentity(path)) return DeskBook{};
    if (Status s = checkRegularFile(platform.fileIdentity(path)); !s) return aboutFile(std::move(s.problem()), path);
    Result<std::vector<uint8_t>> bytes = readFileAt(platform, path, kMaxTextFileBytes);
    if (!bytes) return std::move(bytes.problem());
    const Catalogues& c = state.catalogues;
    Result<DeskBook> book = parseDeskStatus(*bytes, {c.names.size(), c.texts().size()});
    if (!book) {
        const Problem& p = book.problem();
        return aboutFile(p, path, false, p.line, p.x);
    }
    return book;
}

struct PoImport {
    size_t messages = 0;
    size_t changed = 0;
    struct Read {
        EntryKey key;
        bool fuzzy;
        bool original;  // its msgstr is empty or the msgid
    };
    std::vector<Read> read;  // for the statuses
};

}  // namespace

std::optional<EntryKey> parsePoEntryKey(std::string_view key, size_t names, size_t texts) {
    CodeKind kind;
    if (key.starts_with("name "))
        kind = CodeKind::Name;
    else if (key.starts_with("text "))
        kind = CodeKind::Text;
    else
        return std::nullopt;
    if (key.size() != 10 || key[7] != ' ') return std::nullopt;
    const std::string digits = std::string(key.substr(5, 2)) + std::string(key.substr(8, 2));
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) && !std::islower(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    const size_t index = std::stoul(digits, nullptr, 16);
    if (index >= (kind == CodeKind::Name ? names : texts)) return std::nullopt;
    return EntryKey{kind, index};
}

size_t poUtf8OffsetOf(std::string_view sjis, std::string_view utf8, size_t sjisOffset) {
    size_t chars = 0;
    for (size_t i = 0; i < sjisOffset && i < sjis.size(); ++chars)
        i += isSjisLeadByte(static_cast<unsigned char>(sjis[i])) ? 2 : 1;
    size_t u = 0;
    for (; chars > 0 && u < utf8.size(); --chars) {
        ++u;
        while (u < utf8.size() && (static_cast<uint8_t>(utf8[u]) & 0xC0) == 0x80) ++u;
    }
    return u;
}

std::string poEntryKey(CodeKind kind, size_t index) {
    std::string out = kind == CodeKind::Name ? "name " : "text ";
    appendHexByte(out, static_cast<uint8_t>(index >> 8));
    out += ' ';
    appendHexByte(out, static_cast<uint8_t>(index & 0xFF));
    return out;
}

Outcome exportPoStep(const EditorState& state, Platform& platform, const std::filesystem::path& dir, CodeKind kind) {
    PoSource src{state, state, projectName({}, dir), {}, crc32Of(state.image.bytes), boxRulesOf({}, state), {}, poForms(state), {}};
    src.translations = src.originals;
    const bool names = kind == CodeKind::Name;
    const std::filesystem::path folder = dir / kPoFolder;
    if (Status made = platform.makeFolder(folder); !made) return fileFailure(std::move(made.problem()), folder, true);
    PoCatalog catalog = poCatalog(src, kind, false);
    catalog.header = poHeader(src, kind, kNoDate);
    if (Outcome o = writePoFile(platform, folder / (names ? kNamesPo : kTextsPo), poFileBytes(catalog)); !o.done())
        return o;
    return writePoFile(platform, folder / (names ? kNamesPot : kTextsPot), poFileBytes(catalog));
}

namespace {

// A PO file an export would read and replace that is a FIFO or a device:
// reading it would never end.
Outcome refuseIrregular(Platform& platform, const std::filesystem::path& path) {
    if (Status s = checkRegularFile(platform.fileIdentity(path)); !s)
        return fileFailure(std::move(s.problem()), path);
    return doneOutcome({});
}

}  // namespace

Outcome exportPoTo(const EditorState& base, Platform& platform, const std::filesystem::path& dir,
                   const PoExportOptions& options) {
    Result<ProjectBase> project = openProjectBase(base, platform, dir, false);
    if (!project) return failedWith(project.problem());
    EditorState builtHere;
    Outcome build = doneOutcome({});
    if (!options.built) {
        builtHere = base;
        build = buildProjectFrom(builtHere, platform, dir);
        if (!build.done()) return build;
    }
    const EditorState& built = options.built ? *options.built : builtHere;
    Result<DeskBook> book = options.book ? Result<DeskBook>(*options.book) : readDeskBook(base, platform, dir);
    if (!book) return failedWith(book.problem());
    const PoSource src{base,
                       built,
                       projectName(*project, dir),
                       project->language,
                       project->crc32,
                       boxRulesOf(project->box, base),
                       std::move(*book),
                       poForms(base),
                       poForms(built)};
    const std::string date = options.revisionDate.empty() ? utcNow() : options.revisionDate;
    const std::filesystem::path folder = dir / kPoFolder;
    if (Status made = platform.makeFolder(folder); !made) return fileFailure(std::move(made.problem()), folder, true);
    size_t written = 0;
    for (const CodeKind kind : {CodeKind::Name, CodeKind::Text}) {
        const bool names = kind == CodeKind::Name;
        PoCatalog originals = poCatalog(src, kind, true);
        originals.header = poHeader(src, kind, kNoDate);
        const std::filesystem::path potPath = folder / (names ? kNamesPot : kTextsPot);
        const std::vector<uint8_t> pot = poFileBytes(originals);
        if (Outcome o = refuseIrregular(platform, potPath); !o.done()) return o;
        if (const Result<std::vector<uint8_t>> old = platform.readFile(potPath, kMaxTextFileBytes + 1); !old || *old != pot) {
            if (Outcome o = writePoFile(platform, potPath, pot); !o.done()) return o;
            ++written;
        }
        const std::filesystem::path poPath = folder / (names ? kNamesPo : kTextsPo);
        if (Outcome o = refuseIrregular(platform, poPath); !o.done()) return o;
        const Result<std::vector<uint8_t>> old = platform.readFile(poPath, kMaxTextFileBytes);
        const std::vector<uint8_t> po = poBytesKeepingDate(poCatalog(src, kind, false), src, kind, old, date);
        if (!old || *old != po) {
            if (Outcome o = writePoFile(platform, poPath, po); !o.done()) return o;
            ++written;
        }
    }
    return doneOutcome(toCp932("po files of " + dir.string() + ": " + std::to_string(written) + " of 4 written, the rest unchanged"),
                       std::move(build.warnings));
}

namespace {

Outcome importPoMessages(EditorState& state, Platform& platform, const std::filesystem::path& path, PoImport& result) {
    const std::filesystem::path& file = path;
    Result<std::vector<uint8_t>> bytes = readFileAt(platform, path, kMaxTextFileBytes + 1);
    if (!bytes) return failedWith(bytes.problem());
    if (bytes->size() > kMaxTextFileBytes) {
        Problem p = problem(ProblemCode::FileTooLarge);
        p.expected = static_cast<int64_t>(kMaxTextFileBytes >> 20);
        return fileFailure(std::move(p), file);
    }
    Result<PoCatalog> catalog = readPoFile(*bytes);
    if (!catalog) {
        const Problem& p = catalog.problem();
        if (p.line > 0)
            return failedWith(aboutFile(p, file, false, p.line, std::max<int64_t>(p.x, 1)));
        return fileFailure(p, file);
    }
    const std::string name = file.filename().string();
    Catalogues& c = state.catalogues;
    const GlyphLookup glyphs(state.tables, state.options.fullWidth);
    std::vector<std::string> warnings;
    auto warn = [&](const PoMessage& m, const std::string& what) {
        warnings.push_back(name + ":" + std::to_string(m.msgstrLine) + ": warning: " + what);
    };

    const PoForms originals = poForms(state);
    // The translations in Shift-JIS through one converter, as in poForms;
    // when one has no Shift-JIS form, each is converted on its own below,
    // to find it.
    std::vector<std::string> converted;
    {
        std::string joined;
        for (const PoMessage& m : catalog->messages) joined.append(m.str.empty() ? m.id : m.str).push_back('\0');
        if (const std::optional<std::string> all = toCp932Strict(joined)) {
            std::string_view rest = *all;
            while (!rest.empty()) {
                const size_t end = std::min(rest.find('\0'), rest.size());
                converted.emplace_back(rest.substr(0, end));
                rest.remove_prefix(std::min(end + 1, rest.size()));
            }
        }
        if (converted.size() != catalog->messages.size()) converted.clear();
    }
    size_t next = 0;
    // Every message is encoded before anything changes.
    std::vector<NameEntry> names = c.names;
    std::vector<std::pair<size_t, std::vector<uint8_t>>> textCodes;
    std::vector<bool> nameTouched(names.size(), false);
    std::map<std::pair<CodeKind, size_t>, size_t> firstLine;
    for (const PoMessage& m : catalog->messages) {
        const size_t position = next++;
        const std::optional<EntryKey> key = parsePoEntryKey(m.context, c.names.size(), c.texts().size());
        if (!key) {
            warn(m, "msgctxt \"" + m.context + "\" names no name or text; the message is passed over");
            continue;
        }
        // Two messages for one entry (a merge that kept both sides): the first
        // stands, as the one a reader of the file meets first.
        if (const auto [first, added] = firstLine.try_emplace({key->kind, key->index}, m.msgstrLine); !added) {
            warn(m, "msgctxt \"" + m.context + "\" stands already at line " + std::to_string(first->second) +
                        "; this message is passed over");
            continue;
        }
        ++result.messages;
        result.read.push_back({*key, m.fuzzy,
                               m.str.empty() || (key->kind == CodeKind::Name ? m.str == m.id
                                                                              : withoutReferencedNames(m.str) ==
                                                                                    withoutReferencedNames(m.id))});
        const bool isName = key->kind == CodeKind::Name;
        const std::string& original = originals.of(key->kind)[key->index];
        if (isName ? original != m.id : withoutReferencedNames(original) != withoutReferencedNames(m.id))
            warn(m, m.context + ": its msgid is no longer the original (the original changed); its msgstr is read all the same");
        const std::string& typed = m.str.empty() ? m.id : m.str;
        Result<std::string> sjis = converted.empty() ? utf8ToSjis(typed) : Result<std::string>(std::move(converted[position]));
        if (!sjis) {
            sjis.problem().record = isName ? Record::Name : Record::Text;
            sjis.problem().entry = static_cast<int64_t>(key->index);
            return msgstrFailure(std::move(sjis.problem()), file, *bytes, m, m.str.empty() ? 0 : sjis.problem().offset,
                                 std::move(warnings));
        }
        if (isName) {
            Result<int32_t> consumed = encodeName(names, static_cast<int>(key->index), bytesOf(*sjis), glyphs);
            if (!consumed)
                return msgstrFailure(std::move(consumed.problem()), file, *bytes, m,
                                     m.str.empty() ? 0 : poUtf8OffsetOf(*sjis, typed, consumed.problem().offset),
                                     std::move(warnings));
            if (static_cast<size_t>(*consumed) < sjis->size())
                warn(m, m.context + ": a name is one line; what follows its first line break is not read");
            nameTouched[key->index] = true;
        } else {
            const std::string block = "##\n" + *sjis + "//";
            Result<EncodedText> r = encodeTextCode(bytesOf(block), glyphs, static_cast<int>(key->index));
            if (!r) {
                const size_t at = r.problem().offset >= 3 ? r.problem().offset - 3 : 0;
                return msgstrFailure(std::move(r.problem()), file, *bytes, m,
                                     m.str.empty() ? 0 : poUtf8OffsetOf(*sjis, typed, at), std::move(warnings));
            }
            if (r->consumed < block.size())
                warn(m, m.context + ": a '/' ends the text here; the rest of the msgstr is not read");
            textCodes.emplace_back(key->index, std::move(r->code));
        }
    }

    // Only the entries whose code changes are stored; one whose new code
    // reads the same as the one it has is left exactly as it is.
    std::vector<std::pair<size_t, NameEntry>> namesBefore;
    std::vector<std::pair<size_t, std::vector<uint8_t>>> textsBefore;
    importKeepingWhatReadsTheSame(state, [&] {
        for (size_t i = 0; i < names.size(); ++i) {
            if (!nameTouched[i] || names[i].code == c.names[i].code) continue;
            namesBefore.emplace_back(i, c.names[i]);
            c.names[i].code = std::move(names[i].code);
            c.names[i].text = std::move(names[i].text);
        }
        Catalogue texts = c.texts();
        for (auto& [index, code] : textCodes) {
            if (code == texts[index].unpacked) continue;
            textsBefore.emplace_back(index, std::move(texts[index].unpacked));
            texts[index].unpacked = std::move(code);
        }
        if (!textsBefore.empty()) {
            const std::shared_ptr<const DictionaryIndex> dictionary = dictionaryFor(state.image, kTextProfile);
            parallelFor(textsBefore.size(), [&](size_t i) {
                ResourceEntry& e = texts[textsBefore[i].first];
                e.packed = packWithProfile(e.unpacked, *dictionary, kTextProfile);
            });
        }
        return doneOutcome({});
    });
    for (const auto& [i, before] : namesBefore) result.changed += c.names[i].code != before.code;
    for (const auto& [i, before] : textsBefore) result.changed += c.texts()[i].unpacked != before;
    return doneOutcome(toCp932(name + ": " + std::to_string(result.messages) + " messages read, " +
                               std::to_string(result.changed) + " entries changed"),
                       std::move(warnings));
}

}  // namespace

Outcome importPoIntoState(EditorState& state, Platform& platform, const std::filesystem::path& file) {
    // A project's PO file: a FIFO or a device there would never end.
    if (Status s = checkRegularFile(platform.fileIdentity(file)); !s)
        return fileFailure(std::move(s.problem()), file);
    PoImport result;
    return importPoMessages(state, platform, file, result);
}

Outcome importPoFrom(EditorState& state, Platform& platform, const std::filesystem::path& file) {
    // The project around the file, whose status.tsv follows the fuzzy flags.
    const std::filesystem::path dir = file.parent_path().parent_path();
    const bool inProject = file.parent_path().filename() == kPoFolder && platform.fileIdentity(dir / kProjectFileName);
    Result<DeskBook> book = inProject ? readDeskBook(state, platform, dir) : Result<DeskBook>(DeskBook{});
    if (!book) return failedWith(book.problem());
    PoImport result;
    Outcome o = importPoMessages(state, platform, file, result);
    if (!o.done() || !inProject) return o;
    // A fuzzy message is a draft (or stays in review); one a translator
    // cleared of its fuzzy flag is done; one without a translation goes back
    // to untranslated. Locked entries stay locked unless made fuzzy.
    DeskBook statuses = *book;
    for (const PoImport::Read& r : result.read) {
        const int n = static_cast<int>(r.key.index);
        const DeskLine* line = statuses.find(r.key.kind, n);
        const DeskStatus now = statusOf(line, r.original);
        const bool explicitStatus = line && line->status;
        if (r.fuzzy) {
            if (now != DeskStatus::Draft && now != DeskStatus::Review) statuses.setStatus(r.key.kind, n, DeskStatus::Draft);
        } else if (now == DeskStatus::Locked) {
            continue;
        } else if (r.original) {
            if (explicitStatus && now != DeskStatus::Done) statuses.setStatus(r.key.kind, n, std::nullopt);
        } else if (now == DeskStatus::Draft || now == DeskStatus::Review) {
            statuses.setStatus(r.key.kind, n, DeskStatus::Done);
        }
    }
    if (statuses == *book) return o;
    const std::filesystem::path path = dir / kDeskStatusFileName;
    if (Status s = platform.writeFile(path, deskStatusBytes(statuses)); !s) return fileFailure(std::move(s.problem()), path, true);
    o.summary += toCp932("; status.tsv updated");
    return o;
}

}  // namespace velk
