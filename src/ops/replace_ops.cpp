#include "ops/replace_ops.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <set>
#include <stdexcept>

#include "image/parallel.h"
#include "ops/file_steps.h"
#include "ops/messages.h"
#include "text/sjis.h"

namespace velk {
namespace {

constexpr size_t kMaxRulesBytes = size_t{16} << 20;

std::string utf8Form(const EditorState& state, EntryRef e) { return fromCp932(entryForm(state, e.kind, e.index)); }

Problem aboutEntry(Problem p, EntryRef e) {
    p.record = e.kind == EntryKind::Name ? Record::Name : Record::Text;
    p.entry = e.index;
    return p;
}

// Why a UTF-8 form cannot be stored into the entry, and where in it (bytes);
// nothing when it can, with its Shift-JIS form in `sjis`.
std::optional<std::pair<Problem, size_t>> storeProblem(EntryRef e, const std::string& form, const GlyphLookup& glyphs,
                                                       std::string& sjis) {
    Result<std::string> converted = utf8ToSjis(form);
    if (!converted) return std::pair{aboutEntry(converted.problem(), e), converted.problem().offset};
    if (const std::optional<FormProblem> p = formProblem(e.kind, e.index, *converted, glyphs))
        return std::pair{p->problem, fromCp932(std::string_view(*converted).substr(0, p->offset)).size()};
    sjis = std::move(*converted);
    return std::nullopt;
}

// The first entry, in order, on which a pattern gave up: the entries after
// it are not matched at all, so that a pattern that backtracks without end
// costs the entries before it and not every entry's million steps.
class FirstFailure {
public:
    bool after(size_t i) const { return i > first_.load(std::memory_order_relaxed); }
    void at(size_t i) {
        size_t seen = first_.load();
        while (i < seen && !first_.compare_exchange_weak(seen, i)) {
        }
    }

private:
    std::atomic<size_t> first_{SIZE_MAX};
};

std::string countsLine(size_t names, size_t texts) {
    return std::to_string(names) + (names == 1 ? " name, " : " names, ") + std::to_string(texts) +
           (texts == 1 ? " text" : " texts");
}

// Stores forms that storeProblem passed, each into its own entry.
Outcome storeAll(EditorState& state, std::span<const EntryRef> entries, std::span<const std::string> sjis,
                 const GlyphLookup& glyphs) {
    parallelFor(entries.size(), [&](size_t i) { storeForm(state, entries[i].kind, entries[i].index, sjis[i], glyphs); });
    const size_t names = static_cast<size_t>(
        std::count_if(entries.begin(), entries.end(), [](EntryRef e) { return e.kind == EntryKind::Name; }));
    return doneOutcome(toCp932("名前 " + std::to_string(names) + " 件とテキスト " + std::to_string(entries.size() - names) +
                               " 件を置換しました"));
}

}  // namespace

std::vector<EntryRef> allEntries(const EditorState& state, EntryKind kind) {
    const size_t n = kind == EntryKind::Name ? state.catalogues.names.size() : state.catalogues.texts().size();
    std::vector<EntryRef> out(n, EntryRef{kind, 0});
    for (size_t i = 0; i < n; ++i) out[i].index = static_cast<int>(i);
    return out;
}

Result<std::vector<ReplaceRow>> previewReplace(const EditorState& state, const Replacer& replacer,
                                               std::span<const EntryRef> entries) {
    const GlyphLookup glyphs(state.tables, state.options.fullWidth);
    std::vector<std::optional<ReplaceRow>> slots(entries.size());
    std::vector<std::optional<Problem>> failures(entries.size());
    FirstFailure first;
    parallelFor(entries.size(), [&](size_t i) {
        if (first.after(i)) return;
        ReplaceRow row;
        row.entry = entries[i];
        row.before = utf8Form(state, entries[i]);
        Result<std::optional<Replaced>> r = replacer.apply(row.before);
        if (!r) {
            failures[i] = aboutEntry(r.problem(), entries[i]);
            first.at(i);
        }
        if (!r || !*r) return;
        row.after = std::move((*r)->text);
        row.removed = std::move((*r)->before);
        row.inserted = std::move((*r)->after);
        std::string sjis;
        if (auto p = storeProblem(row.entry, row.after, glyphs, sjis)) row.problem = p->first, row.problemAt = p->second;
        slots[i] = std::move(row);
    });
    for (std::optional<Problem>& p : failures)
        if (p) return std::move(*p);
    std::vector<ReplaceRow> rows;
    for (std::optional<ReplaceRow>& row : slots)
        if (row) rows.push_back(std::move(*row));
    return rows;
}

Outcome applyReplace(EditorState& state, std::span<const ReplaceRow> rows) {
    const GlyphLookup glyphs(state.tables, state.options.fullWidth);
    std::vector<EntryRef> entries;
    std::vector<std::string> sjis(rows.size());
    std::set<std::pair<EntryKind, int>> seen;
    for (size_t i = 0; i < rows.size(); ++i) {
        const EntryRef e = rows[i].entry;
        const size_t count = e.kind == EntryKind::Name ? state.catalogues.names.size() : state.catalogues.texts().size();
        if (e.index < 0 || static_cast<size_t>(e.index) >= count || !seen.insert({e.kind, e.index}).second)
            throw std::invalid_argument("replace rows name an entry twice, or one that does not exist");
        if (utf8Form(state, e) != rows[i].before)
            return failedWith(aboutEntry(problem(ProblemCode::EntryChangedSincePreview), e));
        if (auto p = storeProblem(e, rows[i].after, glyphs, sjis[i])) return failedWith(p->first);
        entries.push_back(e);
    }
    return storeAll(state, entries, sjis, glyphs);
}

Outcome replaceWithRules(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    Result<std::vector<uint8_t>> bytes = readFileAt(platform, path, kMaxRulesBytes + 1);
    if (!bytes) return failedWith(bytes.problem());
    if (bytes->size() > kMaxRulesBytes) return fileFailure(tooLarge(kMaxRulesBytes), path);
    const std::string name = path.filename().string();
    Result<std::vector<RuleLine>> rules = readReplaceRules(*bytes);
    if (!rules) {
        const Location at = locate(*bytes, rules.problem().offset, true);
        if (messageId(rules.problem()) == MessageId::CannotRead)
            return failedWith(aboutFile(std::move(rules.problem()), path, false, at.line, at.column));
        const SourceText source{name, *bytes, true};
        return failedWith(rules.problem(), &source);
    }

    // Every name and text in its form, each rule over all of them in turn.
    std::vector<EntryRef> entries = allEntries(state, EntryKind::Name);
    const std::vector<EntryRef> texts = allEntries(state, EntryKind::Text);
    entries.insert(entries.end(), texts.begin(), texts.end());
    std::vector<std::string> forms(entries.size());
    parallelFor(entries.size(), [&](size_t i) { forms[i] = utf8Form(state, entries[i]); });
    const std::vector<std::string> original = forms;
    std::vector<int64_t> lastRule(entries.size(), 0);
    std::string report;
    auto reported = [&report](Outcome o) {
        o.report = std::move(report);
        return o;
    };
    for (const RuleLine& rule : *rules) {
        std::vector<std::optional<Problem>> failures(entries.size());
        std::vector<char> changed(entries.size(), 0);
        FirstFailure first;
        parallelFor(entries.size(), [&](size_t i) {
            if (first.after(i)) return;
            Result<std::optional<Replaced>> r = rule.replacer.apply(forms[i]);
            if (!r) {
                failures[i] = aboutEntry(r.problem(), entries[i]);
                first.at(i);
            }
            if (!r || !*r) return;
            forms[i] = std::move((*r)->text);
            changed[i] = 1;
            lastRule[i] = rule.line;
        });
        for (std::optional<Problem>& p : failures) {
            if (!p) continue;
            p->line = rule.line;
            return reported(failedWith(aboutFile(std::move(*p), path, false, rule.line)));
        }
        size_t names = 0, textsChanged = 0;
        for (size_t i = 0; i < entries.size(); ++i)
            if (changed[i]) ++(entries[i].kind == EntryKind::Name ? names : textsChanged);
        report += name + ":" + std::to_string(rule.line) + ": " + countsLine(names, textsChanged) + "\n";
    }

    // Only the entries that come out changed are checked and stored.
    const GlyphLookup glyphs(state.tables, state.options.fullWidth);
    std::vector<size_t> touched;
    for (size_t i = 0; i < entries.size(); ++i)
        if (forms[i] != original[i]) touched.push_back(i);
    std::vector<std::string> sjis(touched.size());
    std::vector<std::optional<Problem>> unusable(touched.size());
    parallelFor(touched.size(), [&](size_t k) {
        if (auto p = storeProblem(entries[touched[k]], forms[touched[k]], glyphs, sjis[k])) unusable[k] = p->first;
    });
    Problem all = problem(ProblemCode::ReplaceResultsUnusable);
    for (size_t k = 0; k < touched.size(); ++k) {
        if (!unusable[k]) continue;
        const EntryRef e = entries[touched[k]];
        all.words += (all.found++ ? "\n" : "") + name + ":" + std::to_string(lastRule[touched[k]]) + ": " +
                     entryLabel(e.kind, e.index) + ": " + problemReason(*unusable[k]);
    }
    if (all.found) return reported(failedWith(all));
    std::vector<EntryRef> stored;
    for (const size_t i : touched) stored.push_back(entries[i]);
    return reported(storeAll(state, stored, sjis, glyphs));
}

}  // namespace velk
