// A rules file on any bytes; each rule it holds then runs on a form with
// every kind of code, and no replaced match may touch one.
#include "text/replace.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velk;
    const Result<std::vector<RuleLine>> rules = readReplaceRules(std::span(data, size));
    if (!rules) return 0;
    const std::string form = "あ?1B 05?い!11!(主人公)う[F1 23:(え)]お\r\nか";
    for (const RuleLine& rule : *rules) {
        const Result<std::optional<Replaced>> out = rule.replacer.apply(form);
        if (!out || !*out) continue;
        for (const TextSpan m : (*out)->before)
            for (const TextSpan c : codeForms(form))
                if (m.begin < c.end && c.begin < m.end) __builtin_trap();
    }
    return 0;
}
