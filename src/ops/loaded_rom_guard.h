// Exports never replace the loaded ROM: only a save does, after keeping it
// as NAME.bak. An export's writes go through this platform, which refuses
// a file that is the loaded ROM (under any name or link) before writing.
#pragma once

#include "ops/output_checks.h"
#include "platform/forwarding_platform.h"

namespace velk {

class LoadedRomGuard : public ForwardingPlatform {
public:
    LoadedRomGuard(const EditorState& state, Platform& inner) : ForwardingPlatform(inner), state_(state) {}
    Status writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes) override {
        if (Status s = checkNotTheLoadedFile(state_, inner_, path); !s) {
            s.problem().code = ProblemCode::ExportIsTheLoadedRom;
            return s;
        }
        return inner_.writeFile(path, bytes);
    }

private:
    const EditorState& state_;
};

}  // namespace velk
