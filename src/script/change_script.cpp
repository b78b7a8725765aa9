#include "script/change_script.h"

#include <array>
#include <string_view>

#include "script/script_scan.h"
#include "text/sjis.h"

namespace velk {
namespace {

using Handler = Result<size_t> (*)(ScriptRun&, size_t);

struct Keyword {
    std::string_view sjis;  // the keyword's Shift-JIS bytes
    Handler handler;        // null: the end of the script
};

// In the order they are compared; only the whole token matches.
constexpr std::array<Keyword, 11> kKeywords = {{
    {"\x95\xB6\x8E\x9A\x92\xC7\x89\xC1", applyAddedCharactersSection},                            // 文字追加
    {"\x92\x50\x8C\xEA\x83\x8A\x83\x58\x83\x67", applyWordListSection},                           // 単語リスト
    {"\x83\x65\x83\x4C\x83\x58\x83\x67", applyTextSection},                                       // テキスト
    {"\x82\x72\x83\x4E\x83\x89\x83\x58\x83\x4C\x83\x83\x83\x89\x83\x4F\x83\x89", applyClassSGraphicsSection},  // Ｓクラスキャラグラ
    {"\x53\x83\x4E\x83\x89\x83\x58\x83\x4C\x83\x83\x83\x89\x83\x4F\x83\x89", applyClassSGraphicsSection},      // Sクラスキャラグラ
    {"\x83\x41\x83\x43\x83\x65\x83\x80\x83\x4F\x83\x89", applyItemGraphicsSection},               // アイテムグラ
    {"\x69\x70\x73\x83\x70\x83\x62\x83\x60", applyIpsPatchSection},                               // ipsパッチ
    {"\x49\x50\x53\x83\x70\x83\x62\x83\x60", applyIpsPatchSection},                               // IPSパッチ
    {"\x82\x68\x82\x6F\x82\x72\x83\x70\x83\x62\x83\x60", applyIpsPatchSection},                   // ＩＰＳパッチ
    {"\x82\x89\x82\x90\x82\x93\x83\x70\x83\x62\x83\x60", applyIpsPatchSection},                   // ｉｐｓパッチ
    {"\x8F\x49\x97\xB9", nullptr},                                                                 // 終了
}};

const Keyword* findKeyword(std::string_view token) {
    for (const Keyword& k : kKeywords)
        if (token == k.sjis) return &k;
    return nullptr;
}

// The keyword a token begins with, when it is longer than that keyword.
const Keyword* keywordPrefixOf(std::string_view token) {
    for (const Keyword& k : kKeywords)
        if (token.size() > k.sjis.size() && token.substr(0, k.sjis.size()) == k.sjis) return &k;
    return nullptr;
}

}  // namespace

Status applyChangeScript(std::span<const uint8_t> script, Document& state, ScriptFiles& files,
                         std::vector<Warning>* warnings, size_t* applied, bool fullWidth) {
    ScriptRun run{script, state, files, fullWidth, std::nullopt};
    size_t p = 0;
    for (;;) {
        while (p < script.size() && !run.isMarker(p)) ++p;
        if (p >= script.size()) return {};  // the end of the data ends the script
        const std::string token = run.tokenAt(p + 2);
        const Keyword* keyword = findKeyword(token);
        if (!keyword && warnings && keywordPrefixOf(token))
            warnings->push_back({WarningCode::SectionWordNoKeyword, p, 0, 0, 0, token, std::string(keywordPrefixOf(token)->sjis)});
        if (!keyword) {
            p += 3;  // an unrecognised section is skipped up to the next marker
            continue;
        }
        if (!keyword->handler) return {};
        Result<size_t> next = keyword->handler(run, p + 2);
        if (!next) return std::move(next.problem());
        p = *next;
        if (applied) ++*applied;
    }
}

}  // namespace velk
