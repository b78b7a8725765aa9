#include "ops/sharing_checks.h"
#include "ops/step_platform.h"

#include <algorithm>
#include <cstdio>

#include "ops/loaded_rom_guard.h"
#include "ops/messages.h"
#include "ops/operations.h"
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

Outcome spaceCheck(const EditorState& state) {
    std::string report;
    const LayoutPlan plan = layoutPlan(state.image, state.catalogues);
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
    for (const PinnedFaceEdit& e : plan.pinnedFaces)
        report += regionLine("face " + std::to_string(e.face) + " in place", {e.face, {e.at, e.at + e.room}, e.length});
    if (plan.fits) {
        Outcome done = doneOutcome("");
        done.report = std::move(report);
        return done;
    }
    if (plan.shortfall)
        report += "does not fit: " + kindName(plan.shortfall->id) + ", " + std::to_string(plan.shortfall->length) +
                  " bytes, " + std::to_string(plan.shortfall->missing) + " bytes more than the largest room left\n";
    if (!plan.namesFit) report += "does not fit: the names\n";
    if (plan.colourSets.left() < 0) report += "does not fit: the colour sets\n";
    for (const PinnedFaceEdit& e : plan.pinnedFaces)
        if (!e.fits()) report += "does not fit: " + problemReason(pinnedFaceTooLong(e)) + "\n";
    Outcome failed = failedOutcome(renderMessage(problem(ProblemCode::NoRoom)));
    failed.report = std::move(report);
    return failed;
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
    const LayoutPlan plan = layoutPlan(state.image, state.catalogues);
    if (plan.fits) {
        int64_t left = 0;
        for (const RegionUse& r : plan.regions) left += r.left();
        return toCp932("空き " + grouped(left) + " バイト");
    }
    std::string note = toCp932("容量が足りません");
    std::optional<int64_t> missing;
    if (plan.shortfall) missing = plan.shortfall->missing;
    for (const PinnedFaceEdit& e : plan.pinnedFaces)
        if (!e.fits()) missing = std::max<int64_t>(missing.value_or(0), e.length - e.room);
    if (missing) note += toCp932(": " + grouped(*missing) + " バイト不足");
    return note;
}

Outcome diffCheck(const EditorState& state, Platform& platform, const std::filesystem::path& path) {
    Result<LoadedRom> rom = loadRomFile(platform, path, builtInCharTables());
    if (!rom) return failedWith(rom.problem());
    EditorState other;
    installRom(other, *rom);
    Outcome done = doneOutcome("");
    for (const KindDiff& d : diffImages(state, other))
        done.report += d.kind + ": " + foldedNumbers(d.entries, d.kind == "other bytes" ? 6 : 4) + "\n";
    return done;
}

Outcome exportTableFile(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    const std::string text = tableFileText(state.tables);
    LoadedRomGuard guarded(state, platform);
    return writeNamedFile(guarded, path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                          toCp932(path.filename().string()));
}

VerifiedPatch savePatchVerified(EditorState& state, Platform& platform, const std::filesystem::path& path) {
    // The patch is made in memory, checked there and written once: read back
    // from a FIFO or from a link to standard output it would hang or differ.
    StepPlatform step(platform, true);
    Outcome saved = saveRom(state, step, path);
    if (!saved.done()) return {saved, {}};
    // The file as loaded: unchanged where it lies, or the copy kept before
    // this run saved over it.
    const std::filesystem::path from =
        platform.fileIdentity(state.loaded.path) == state.loaded.identity ? state.loaded.path : state.loaded.copy;
    const std::vector<uint8_t>& target = state.image.bytes;
    Result<std::vector<uint8_t>> source = platform.readFile(from, (target.size() + state.loaded.copierHeader.size()) * 2);
    if (source)  // the patch goes from the image behind the copier header
        source->erase(source->begin(), source->begin() + static_cast<std::ptrdiff_t>(
                                                             std::min(source->size(), state.loaded.copierHeader.size())));
    const auto inMemory = step.written.find(path);
    Result<std::vector<uint8_t>> patch =
        inMemory != step.written.end() ? Result<std::vector<uint8_t>>(inMemory->second) : systemError("not made");
    std::string why;
    if (!source || !patch) {
        why = "it cannot be read back: " + (!source ? problemReason(source.problem()) : problemReason(patch.problem()));
    } else if (patchKindOf(path) == PatchKind::Bps) {
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
        Problem p = problem(ProblemCode::PatchFailedCheck);
        p.words = why;
        return {fileFailure(std::move(p), path, true), {}};
    }
    if (Status s = platform.writeFile(path, *patch); !s) return {fileFailure(std::move(s.problem()), path, true), {}};
    const PatchFacts made{path.filename().string(), patch->size(), romHashes(*source), romHashes(target), state.loaded.copierHeader.size()};
    saved.report += made.file + ": " + std::to_string(made.size) + " bytes, source CRC32 " + hex(made.base.crc32, 8) +
                    ", target CRC32 " + hex(made.result.crc32, 8) + ", verified\n" + patchHashLines(made);
    return {saved, made};
}

}  // namespace velk
