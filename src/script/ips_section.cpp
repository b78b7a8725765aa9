#include "patch/ips.h"
#include "script/script_scan.h"

namespace velk {

Result<size_t> applyIpsPatchSection(ScriptRun& run, size_t p) {
    while (p < run.script.size()) {
        if (run.isMarker(p)) return p;
        if (!run.isFileMark(p)) {
            ++p;
            continue;
        }
        Result<std::vector<uint8_t>> patch = run.readNamedFile(p, kMaxScriptBytes + 1);
        if (!patch) return std::move(patch.problem());
        Result<std::vector<IpsRecord>> records =
            patch->size() > kMaxScriptBytes ? Result<std::vector<IpsRecord>>(cannotRead("larger than 64 MiB"))
                                            : parseIps(*patch, run.state.image.bytes.size());
        if (!records) {
            // A bad patch is refused whole, under the name written in the script.
            Problem pr = std::move(records.problem());
            pr.text = run.tokenAt(p + 2);
            pr.offset = p + 2;
            return pr;
        }
        applyIpsRecords(*records, run.state.image.bytes);
        p += 2;
    }
    return p;
}

}  // namespace velk
