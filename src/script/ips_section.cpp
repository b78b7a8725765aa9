#include "patch/ips.h"
#include "script/script_scan.h"

namespace velk {

Result<size_t> applyIpsPatchSection(ScriptRun& run, size_t start) {
    return forEachFileEntry(run, start, [&](size_t mark) -> Result<size_t> {
        Result<std::vector<uint8_t>> patch = run.readNamedFile(mark, kMaxScriptBytes + 1);
        if (!patch) return std::move(patch.problem());
        Result<std::vector<IpsRecord>> records =
            patch->size() > kMaxScriptBytes ? Result<std::vector<IpsRecord>>(tooLarge(kMaxScriptBytes))
                                            : parseIps(*patch, run.state.image.bytes.size());
        if (!records) {
            // A bad patch is refused whole, under the name written in the script.
            Problem pr = std::move(records.problem());
            pr.file = run.tokenAt(mark + 2);
            pr.offset = mark + 2;
            return pr;
        }
        applyIpsRecords(*records, run.state.image.bytes);
        return mark + 2;
    });
}

}  // namespace velk
