#include "text/replace.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>

#include "text/text_checks.h"

namespace velk {
namespace {

using MatchData = std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)>;

std::string pcre2Words(int error) {
    PCRE2_UCHAR buffer[256];
    if (pcre2_get_error_message(error, buffer, sizeof buffer) < 0) return "PCRE2 error " + std::to_string(error);
    return reinterpret_cast<const char*>(buffer);
}

Problem at(ProblemCode code, size_t offset, std::string bytes = {}) {
    Problem p = problem(code, offset);
    p.bytes = std::move(bytes);
    return p;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The byte after the UTF-8 character that starts at `i`.
size_t nextCharacter(std::string_view s, size_t i) {
    ++i;
    while (i < s.size() && (static_cast<uint8_t>(s[i]) & 0xC0) == 0x80) ++i;
    return i;
}

}  // namespace

std::vector<TextSpan> codeForms(std::string_view form) {
    std::vector<TextSpan> spans;
    for (size_t i = 0; i < form.size();) {
        size_t end = i;
        switch (form[i]) {
            case '?': end = i + 7; break;
            case '!': end = i + 4; break;
            case '(': end = form.find(')', i + 1); end = end == std::string_view::npos ? end : end + 1; break;
            case '[': end = form.find(")]", i + 1); end = end == std::string_view::npos ? end : end + 2; break;
            default: break;
        }
        if (end == i) {
            i = nextCharacter(form, i);
            continue;
        }
        end = std::min(end, form.size());
        spans.push_back({i, end});
        i = end;
    }
    return spans;
}

Result<Replacer> Replacer::make(const ReplaceRule& rule) {
    if (rule.pattern.empty()) return problem(ProblemCode::EmptyPattern);
    using CompileContext = std::unique_ptr<pcre2_compile_context, decltype(&pcre2_compile_context_free)>;
    const CompileContext context(pcre2_compile_context_create(nullptr), pcre2_compile_context_free);
    pcre2_set_newline(context.get(), PCRE2_NEWLINE_ANYCRLF);
    // \C would match a byte inside a character and leave the rest of it behind.
    const uint32_t options = PCRE2_UTF | (rule.regex ? PCRE2_UCP | PCRE2_NEVER_BACKSLASH_C : PCRE2_LITERAL);
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(rule.pattern.data()), rule.pattern.size(), options,
                                     &error, &errorOffset, context.get());
    if (!code) {
        Problem p = problem(ProblemCode::PatternInvalid, std::min<size_t>(errorOffset, rule.pattern.size()));
        p.words = pcre2Words(error);
        return p;
    }
    Replacer r;
    r.code_.reset(code, pcre2_code_free);
    (void)pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);  // where JIT is not allowed, matching works without it
    // A pattern that backtracks without end gives up on the first text, not after minutes.
    r.limits_.reset(pcre2_match_context_create(nullptr), pcre2_match_context_free);
    pcre2_set_match_limit(r.limits_.get(), 1'000'000);
    const std::string_view text = rule.replacement;
    if (!rule.regex) {
        r.replacement_.push_back({std::string(text)});
        return r;
    }
    uint32_t groups = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
    std::string literal;
    for (size_t i = 0; i < text.size();) {
        if (text[i] != '$') {
            literal += text[i++];
            continue;
        }
        const size_t start = i++;
        if (i < text.size() && text[i] == '$') {
            literal += '$';
            ++i;
            continue;
        }
        std::string_view name;
        if (i < text.size() && isDigit(text[i])) {
            const size_t from = i;
            while (i < text.size() && isDigit(text[i]) && i - from < 2) ++i;  // $12 is group 12, $123 group 12 and '3'
            name = text.substr(from, i - from);
        } else if (i < text.size() && text[i] == '{' && text.find('}', i) != std::string_view::npos) {
            const size_t close = text.find('}', i);
            name = text.substr(i + 1, close - i - 1);
            i = close + 1;
        }
        const std::string written(text.substr(start, i - start));
        if (name.empty()) return at(ProblemCode::ReplacementDollar, start, written);
        int group = -1;
        if (std::all_of(name.begin(), name.end(), isDigit)) {
            if (name.size() <= 5) group = std::stoi(std::string(name));
            if (group > static_cast<int>(groups)) group = -1;
        } else {
            const std::string key(name);
            group = pcre2_substring_number_from_name(code, reinterpret_cast<PCRE2_SPTR>(key.c_str()));
        }
        if (group < 0) return at(ProblemCode::ReplacementGroupUnknown, start, written);
        r.replacement_.push_back({std::move(literal)});
        literal.clear();
        r.replacement_.push_back({{}, group});
    }
    r.replacement_.push_back({std::move(literal)});
    return r;
}

Result<std::optional<Replaced>> Replacer::apply(std::string_view form) const {
    const MatchData data(pcre2_match_data_create_from_pattern(code_.get(), nullptr), pcre2_match_data_free);
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    const auto subject = reinterpret_cast<PCRE2_SPTR>(form.data());
    Replaced out;
    size_t copied = 0;  // form[0, copied) is in out.text
    bool changed = false;
    auto replaceMatch = [&](size_t begin, size_t end) {
        std::string with;
        for (const Piece& piece : replacement_) {
            if (piece.group < 0) {
                with += piece.literal;
            } else if (ovector[2 * piece.group] != PCRE2_UNSET) {
                with += form.substr(ovector[2 * piece.group], ovector[2 * piece.group + 1] - ovector[2 * piece.group]);
            }
        }
        out.text += form.substr(copied, begin - copied);
        copied = end;
        if (with == form.substr(begin, end - begin)) {
            out.text += with;
            return;
        }
        changed = true;
        out.before.push_back({begin, end});
        out.after.push_back({out.text.size(), out.text.size() + with.size()});
        out.text += with;
    };
    // The stretches between codes, each matched on its own.
    std::vector<TextSpan> stretches;
    size_t from = 0;
    for (const TextSpan& code : codeForms(form)) {
        stretches.push_back({from, code.begin});
        from = code.end;
    }
    stretches.push_back({from, form.size()});
    for (const TextSpan& stretch : stretches) {
        const uint32_t endOptions = stretch.end < form.size() ? PCRE2_NOTEOL : 0;
        size_t pos = stretch.begin;
        uint32_t retry = 0;  // after an empty match: a non-empty one at the same place
        while (pos <= stretch.end) {
            const int rc = pcre2_match(code_.get(), subject, stretch.end, pos, endOptions | retry, data.get(), limits_.get());
            if (rc == PCRE2_ERROR_NOMATCH) {
                if (!retry || pos >= stretch.end) break;
                const bool crlf = form[pos] == '\r' && pos + 1 < stretch.end && form[pos + 1] == '\n';
                pos = crlf ? pos + 2 : nextCharacter(form, pos);
                retry = 0;
                continue;
            }
            if (rc < 0) {
                Problem p = problem(ProblemCode::PatternMatchFailed, pos);
                p.words = pcre2Words(rc);
                return p;
            }
            const size_t begin = ovector[0], end = ovector[1];
            if (begin > end) break;  // \K in a lookahead: no place to replace
            replaceMatch(begin, end);
            pos = end;
            retry = begin == end ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
        }
    }
    if (!changed) return std::optional<Replaced>{};
    out.text += form.substr(copied);
    return std::optional<Replaced>(std::move(out));
}

Result<std::vector<RuleLine>> readReplaceRules(std::span<const uint8_t> file) {
    if (Status s = checkNotUtf16(file); !s) return std::move(s.problem());
    const std::string_view all(reinterpret_cast<const char*>(file.data()), file.size());
    std::vector<RuleLine> rules;
    size_t start = all.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (int64_t line = 1; start < all.size(); ++line) {
        const size_t lf = std::min(all.find('\n', start), all.size());
        std::string_view text = all.substr(start, lf - start);
        if (text.ends_with('\r')) text.remove_suffix(1);
        const size_t lineStart = start;
        start = lf + 1;
        auto located = [&](Problem p, size_t offset) {
            p.offset = lineStart + offset;
            p.line = line;
            return p;
        };
        if (const std::optional<BadSequence> bad = firstInvalidUtf8(text))
            return located(at(ProblemCode::NotUtf8, 0, std::string(text.substr(bad->offset, bad->length))), bad->offset);
        if (text.empty() || text[0] == '#' || text.find_first_not_of(" \t") == std::string_view::npos) continue;
        const size_t tab = text.find('\t');
        const size_t tabs = static_cast<size_t>(std::count(text.begin(), text.end(), '\t'));
        if (tabs != 1) {
            Problem p = problem(ProblemCode::RuleNotTwoColumns);
            p.found = static_cast<int64_t>(tabs) + 1;
            return located(std::move(p), tabs == 0 ? text.size() : text.find('\t', tab + 1));
        }
        ReplaceRule rule{std::string(text.substr(0, tab)), std::string(text.substr(tab + 1)), false};
        size_t patternAt = 0;
        if (rule.pattern.starts_with("re:")) {
            rule.pattern.erase(0, 3);
            rule.regex = true;
            patternAt = 3;
        }
        Result<Replacer> r = Replacer::make(rule);
        if (!r) {
            const bool inReplacement = r.problem().code == ProblemCode::ReplacementDollar ||
                                       r.problem().code == ProblemCode::ReplacementGroupUnknown;
            const size_t offset = r.problem().offset;
            return located(std::move(r.problem()), (inReplacement ? tab + 1 : patternAt) + offset);
        }
        rules.push_back({line, std::move(rule), std::move(*r)});
    }
    return rules;
}

}  // namespace velk
