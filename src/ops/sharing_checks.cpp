#include "ops/sharing_checks.h"

#include <cstdio>

#include "ops/dialog_options.h"
#include "ops/loaded_rom_guard.h"
#include "ops/messages.h"
#include "ops/operations.h"
#include "ops/step_platform.h"
#include "patch/bps.h"
#include "patch/ips.h"
#include "rom/image_diff.h"
#include "rom/layout_plan.h"
#include "rom/save_layout.h"
#include "text/sjis.h"
#include "text/table_file.h"

namespace velk {
namespace {

std::string hex(int64_t v, int digits) {
    char s[24];
    std::snprintf(s, sizeof s, "%0*llX", digits, static_cast<long long>(v));
    return s;
}

std::string regionLine(const std::string& what, const RegionUse& r) {
    return what + " " + hex(r.range.start, 6) + "-" + hex(r.range.end, 6) + ": " + std::to_string(r.used) +
           " used, " + std::to_string(r.left()) + " left\n";
}

std::string kindName(int32_t id) {
    if (id < kFirstUnitGraphicId) return "face " + std::to_string(id);
    if (id < kFirstTextId) return "unit graphic " + std::to_string(id - kFirstUnitGraphicId);
    return "text " + hex(id - kFirstTextId, 4);
}

Outcome cannotWrite(Problem p, const ChosenFile& file) {
    p.writing = true;
    p.file = file.name;
    p.fileUtf8 = file.displayName();
    return failedOutcome(renderMessage(p));
}

}  // namespace

std::string foldedNumbers(const std::vector<int64_t>& numbers, int digits, size_t shown) {
    std::string out = std::to_string(numbers.size());
    if (numbers.empty()) return out;
    out += " (";
    size_t ranges = 0;
    for (size_t i = 0; i < numbers.size();) {
        size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
        if (ranges == shown) {
            out += ", …";
            break;
        }
        if (ranges) out += ", ";
        out += hex(numbers[i], digits);
        if (j > i) {
            out += '-';
            out += hex(numbers[j], digits);
        }
        ++ranges;
        i = j + 1;
    }
    return out + ")";
}

Outcome spaceCheck(const EditorState& state, std::string& report) {
    const LayoutPlan plan = layoutPlan(state.catalogues);
    report += regionLine("colour sets", plan.colourSets);
    for (const RegionUse& r : plan.names) report += regionLine("names " + std::to_string(r.index), r);
    int64_t used = 0, left = 0;
    for (const RegionUse& r : plan.regions) {
        char index[8];
        std::snprintf(index, sizeof index, "%03d", r.index);
        report += regionLine(std::string("region ") + index, r);
        used += r.used;
        left += r.left();
    }
    report += "regions: " + std::to_string(used) + " used, " + std::to_string(left) + " left\n";
    if (plan.fits) return doneOutcome("");
    if (plan.shortfall)
        report += "does not fit: " + kindName(plan.shortfall->id) + ", " + std::to_string(plan.shortfall->length) +
                  " bytes, " + std::to_string(plan.shortfall->missing) + " bytes more than the largest room left\n";
    if (!plan.namesFit) report += "does not fit: the names\n";
    if (plan.colourSets.left() < 0) report += "does not fit: the colour sets\n";
    return failedOutcome(renderMessage(problem(ProblemCode::NoRoom)));
}

namespace {

// 274520 as "274,520".
std::string grouped(int64_t n) {
    std::string digits = std::to_string(n < 0 ? -n : n), out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return (n < 0 ? "-" : "") + out;
}

}  // namespace

std::string spaceNote(const EditorState& state) {
    const LayoutPlan plan = layoutPlan(state.catalogues);
    if (plan.fits) {
        int64_t left = 0;
        for (const RegionUse& r : plan.regions) left += r.left();
        return toCp932("空き " + grouped(left) + " バイト");
    }
    std::string note = toCp932("容量が足りません");
    if (plan.shortfall) note += toCp932(": " + grouped(plan.shortfall->missing) + " バイト不足");
    return note;
}

Outcome diffCheck(const EditorState& state, Platform& platform, std::string& report) {
    const std::optional<ChosenFile> file = platform.openFileDialog(romOpenDialogOptions());
    if (!file) return cancelledOutcome();
    Step<LoadedRom> rom = loadRomFile(platform, *file, builtInCharTables());
    if (!rom) return std::move(rom).stop();
    EditorState other;
    installRom(other, std::move(*rom));
    for (const KindDiff& d : diffImages(state, other))
        report += d.kind + ": " + foldedNumbers(d.entries, d.kind == "other bytes" ? 6 : 4) + "\n";
    return doneOutcome("");
}

Outcome exportTableFile(const EditorState& state, Platform& platform) {
    const std::optional<ChosenFile> file = platform.saveFileDialog({".tbl", "*.tbl", "table file|*.tbl||"});
    if (!file) return cancelledOutcome();
    const std::string text = tableFileText(state.tables);
    LoadedRomGuard guarded(state, platform);
    if (Status s = guarded.writeFile(file->path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size())); !s)
        return cannotWrite(std::move(s.problem()), *file);
    return doneOutcome(file->name);
}

Outcome savePatchVerified(EditorState& state, Platform& platform, std::string& report, PatchFacts* facts) {
    const std::optional<ChosenFile> file = platform.saveFileDialog(romSaveDialogOptions());
    if (!file) return cancelledOutcome();
    StepPlatform step(platform);
    step.answer(file->path);
    Outcome saved = saveRom(state, step);
    if (!saved.done()) return saved;
    // The file as loaded: unchanged where it lies, or the copy kept before
    // this run saved over it.
    const std::filesystem::path from =
        platform.fileIdentity(state.loadedPath) == state.loadedIdentity ? state.loadedPath : state.loadedCopy;
    const std::vector<uint8_t>& target = state.image.bytes;
    Result<std::vector<uint8_t>> source = platform.readFile(from, (target.size() + state.copierHeader.size()) * 2);
    if (source) source->erase(source->begin(), source->begin() + static_cast<std::ptrdiff_t>(std::min(source->size(), state.copierHeader.size())));
    Result<std::vector<uint8_t>> patch = platform.readFile(file->path);
    std::string why;
    if (!source || !patch) {
        why = "it cannot be read back: " + (!source ? problemReason(source.problem()) : problemReason(patch.problem()));
    } else if (patchKindOf(file->path) == PatchKind::Bps) {
        Result<std::vector<uint8_t>> made = applyBps(*source, *patch);
        why = !made ? problemReason(made.problem()) : *made != target ? "applied, it does not give the saved image" : "";
    } else {
        Result<std::vector<IpsRecord>> records = parseIps(*patch, std::max(source->size(), target.size()));
        std::vector<uint8_t> made = *source;
        made.resize(std::max(source->size(), target.size()));
        if (records) applyIpsRecords(*records, made);
        why = !records ? problemReason(records.problem()) : made != target ? "applied, it does not give the saved image" : "";
    }
    if (!why.empty()) {
        Status removed = platform.removeFile(file->path);
        Problem p = problem(ProblemCode::PatchFailedCheck);
        p.words = why;
        if (!removed) p.cause = problemReason(removed.problem());
        return cannotWrite(std::move(p), *file);
    }
    const PatchFacts made{file->displayName(), patch->size(), romHashes(*source), romHashes(target), state.copierHeader.size()};
    report += made.file + ": " + std::to_string(made.size) + " bytes, source CRC32 " + hex(made.base.crc32, 8) +
              ", target CRC32 " + hex(made.result.crc32, 8) + ", verified\n" + patchHashLines(made);
    if (facts) *facts = made;
    return saved;
}

}  // namespace velk
