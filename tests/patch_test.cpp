#include <gtest/gtest.h>

#include "patch/bps.h"
#include "patch/ips.h"
#include "test_support.h"

namespace velk {
namespace {

Bytes ips(Bytes records, bool withEof = true) {
    records.insert(records.begin(), {'P', 'A', 'T', 'C', 'H'});
    if (withEof) records.insert(records.end(), {'E', 'O', 'F'});
    return records;
}

Bytes applyIps(const Bytes& source, const Bytes& patch) {
    Result<std::vector<IpsRecord>> records = parseIps(patch, source.size());
    EXPECT_TRUE(records.ok());
    Bytes target = source;
    if (records) applyIpsRecords(*records, target);
    return target;
}

Bytes withCrcs(Bytes patch, const Bytes& source, const Bytes& target) {
    for (uint32_t crc : {crc32Of(source), crc32Of(target)})
        for (int i = 0; i < 4; ++i) patch.push_back(static_cast<uint8_t>(crc >> (8 * i)));
    const uint32_t own = crc32Of(patch);
    for (int i = 0; i < 4; ++i) patch.push_back(static_cast<uint8_t>(own >> (8 * i)));
    return patch;
}

// ------------------------------------------------------------- source diff

// The diff fed in pieces of every size from 1 up, against targets shorter,
// as long as and longer than the source, gives back every source byte.
TEST(SourceDiff, AnyPiecesGiveTheSameDiffAndEverySourceByte) {
    const Bytes source = bytesOf("abcdefghijklmnopqrstuvwxyz");
    //                                   ^^     ^         ^  changed: 3-4, 10, 20 and the last
    Bytes target = source;
    target[3] = 'D', target[4] = 'E', target[10] = 'K', target[20] = 'U', target[25] = 'Z';
    for (const size_t targetSize : {source.size() - 3, source.size(), source.size() + 4}) {
        Bytes t = target;
        t.resize(targetSize, '!');
        const SourceDiff whole = diffOf(source, t);
        for (size_t piece = 1; piece <= source.size(); ++piece) {
            SourceDiffBuilder builder(t);
            for (size_t at = 0; at < source.size(); at += piece)
                builder.feed(std::span(source).subspan(at, std::min(piece, source.size() - at)));
            const SourceDiff d = builder.finish();
            ASSERT_EQ(d.stretches.size(), whole.stretches.size()) << piece;
            for (size_t k = 0; k < d.stretches.size(); ++k) {
                EXPECT_EQ(d.stretches[k].from, whole.stretches[k].from);
                EXPECT_EQ(d.stretches[k].to, whole.stretches[k].to);
            }
            EXPECT_EQ(d.bytes, whole.bytes);
        }
        EXPECT_EQ(whole.sourceSize, source.size());
        EXPECT_EQ(whole.sourceCrc, crc32Of(source));
        for (size_t from = 0; from <= source.size() + 1; ++from)
            for (size_t n = 0; n <= source.size() + 2; ++n) {
                Bytes out(n, 0);
                const size_t got = whole.read(from, n, out.data(), t);
                const size_t want = from < source.size() ? std::min(n, source.size() - from) : 0;
                ASSERT_EQ(got, want) << from << " " << n;
                EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(got)),
                          Bytes(source.begin() + static_cast<std::ptrdiff_t>(std::min(from, source.size())),
                                source.begin() + static_cast<std::ptrdiff_t>(std::min(from, source.size()) + want)));
            }
    }
    const SourceDiff d = diffOf(source, target);
    ASSERT_EQ(d.stretches.size(), 4u);
    EXPECT_TRUE(d.stretches[0].from == 3 && d.stretches[0].to == 5 && d.stretches[3].from == 25 && d.stretches[3].to == 26);
    EXPECT_EQ(d.bytes, bytesOf("dekuz"));
    const size_t end = target.size();  // {21, 23}: cut at the target's end
    for (const auto& [at, upTo, same] : {std::array<size_t, 3>{0, end, 3}, {3, end, 0}, {5, end, 5}, {21, end, 4}, {21, 23, 2}, {26, end, 0}})
        EXPECT_EQ(d.sameFrom(at, upTo), same) << at << " " << upTo;
    EXPECT_TRUE(diffOf(source, source).stretches.empty());
}

// ---------------------------------------------------------------------- IPS

// The records between "PATCH" and "EOF" for changes to an image of zeros:
// changes fewer than five bytes apart share a record, nine equal bytes are a run.
TEST(IpsWriter, RecordsForChanges) {
    const struct { size_t size; std::vector<std::pair<size_t, size_t>> changed; Bytes records; } cases[] = {
        {4, {{1, 2}}, {0x00, 0x00, 0x01, 0x00, 0x01, 0x07}},
        {4, {}, {}},
        {32, {{4, 13}}, {0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x09, 0x07}},
        {32, {{4, 12}}, {0x00, 0x00, 0x04, 0x00, 0x08, 7, 7, 7, 7, 7, 7, 7, 7}},
        {32, {{2, 3}, {7, 8}}, {0x00, 0x00, 0x02, 0x00, 0x06, 7, 0, 0, 0, 0, 7}},
        {32, {{2, 3}, {8, 9}}, {0x00, 0x00, 0x02, 0x00, 0x01, 7, 0x00, 0x00, 0x08, 0x00, 0x01, 7}},
        {200000, {{199999, 200000}}, {0x03, 0x0D, 0x3F, 0x00, 0x01, 0x07}},
        // no record starts where it would read as "EOF", nor a run there
        {0x454F60, {{0x454F46, 0x454F47}}, {0x45, 0x4F, 0x45, 0x00, 0x02, 0x00, 0x07}},
        {0x454F60, {{0x454F46, 0x454F46 + 20}}, {0x45, 0x4F, 0x45, 0x00, 0x15, 0x00, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7, 7}},
    };
    for (const auto& c : cases) {
        const Bytes source(c.size, 0);
        Bytes target = source;
        for (const auto& [from, to] : c.changed)
            for (size_t i = from; i < to; ++i) target[i] = 7;
        const Bytes patch = makeIps(source, target);
        EXPECT_EQ(patch, ips(c.records)) << c.size << " " << c.changed.size();
        EXPECT_EQ(applyIps(source, patch), target) << c.size;
    }
    Bytes source(200000), target(200000);
    for (size_t i = 0; i < source.size(); ++i) target[i] = static_cast<uint8_t>(i % 7 + 1);
    const Bytes patch = makeIps(source, target);
    EXPECT_TRUE(patch[8] == 0xFF && patch[9] == 0xFF);  // the first record's size: 65535
    EXPECT_EQ(applyIps(source, patch), target);
}

// A run longer than a record holds goes on in the next record: a run again
// when nine or more bytes are left, plain bytes when fewer.
TEST(IpsWriter, RunsOfMoreThan65535EqualBytesAreSplit) {
    const struct { size_t length; Bytes records; } cases[] = {
        {65535, {0x00, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xAB}},
        {65536, {0x00, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xAB, 0x01, 0x00, 0xFF, 0x00, 0x01, 0xAB}},
        {65543, {0x00, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xAB, 0x01, 0x00, 0xFF, 0x00, 0x08, 0xAB, 0xAB, 0xAB, 0xAB,
                 0xAB, 0xAB, 0xAB, 0xAB}},
        {65544, {0x00, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xAB, 0x01, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x09, 0xAB}},
        {131070, {0x00, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xAB, 0x01, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xAB}},
    };
    const Bytes source(200000, 0);
    for (const auto& c : cases) {
        Bytes target = source;
        std::fill_n(target.begin() + 0x100, c.length, 0xAB);
        const Bytes patch = makeIps(source, target);
        EXPECT_EQ(Bytes(patch.begin() + 5, patch.end() - 3), c.records) << c.length;
        EXPECT_EQ(applyIps(source, patch), target) << c.length;
    }
}

// SourceRead 8; TargetRead 3; SourceCopy 6 from +4, then TargetRead 4; TargetRead 6, then TargetCopy 6 from 0;
// and a match found late: every fourth source position is looked up, so "abcdef" at 10 is not and "cdefgh" at 12
// is; the copy is stretched back over "ab" (TargetRead 2, SourceCopy 10 from +10, TargetRead 2).
TEST(BpsWriter, EachActionByHand) {
    const struct { Bytes source, target, actions; } cases[] = {
        {bytesOf("ABCDEFGH"), bytesOf("ABCDEFGH"), {0x88, 0x88, 0x80, 0x9C}},
        {{}, bytesOf("xyz"), {0x80, 0x83, 0x80, 0x89, 'x', 'y', 'z'}},
        {bytesOf("abcdefghij"), bytesOf("efghijabcd"), {0x8A, 0x8A, 0x80, 0x96, 0x88, 0x8D, 'a', 'b', 'c', 'd'}},
        {{}, bytesOf("abcdefabcdef"), {0x80, 0x8C, 0x80, 0x95, 'a', 'b', 'c', 'd', 'e', 'f', 0x97, 0x80}},
        {bytesOf("0123456789abcdefghij"), bytesOf("zzabcdefghijzz"),
         {0x94, 0x8E, 0x80, 0x85, 'z', 'z', 0xA6, 0x94, 0x85, 'z', 'z'}},
    };
    for (const auto& c : cases) {
        Bytes patch = bytesOf("BPS1");
        patch.insert(patch.end(), c.actions.begin(), c.actions.end());
        EXPECT_EQ(makeBps(c.source, c.target), withCrcs(patch, c.source, c.target)) << c.target.size();
    }
    const Bytes target(200, 0x11);  // 200 = 48 80: 0x48, then one more with the carried 128
    const Bytes patch = makeBps(Bytes{}, target);
    EXPECT_EQ(Bytes(patch.begin() + 4, patch.begin() + 8), (Bytes{0x80, 0x48, 0x80, 0x80}));
    EXPECT_EQ(*applyBps({}, patch), target);
}

// A damaged patch or another source fails with the offset of what gave it
// away: the record, the header or the checksum.
TEST(PatchReaders, FailWhereTheDamageStands) {
    using C = ProblemCode;
    const struct { const char* what; Bytes patch; size_t offset; ProblemCode code; } ipsCases[] = {
        {"no EOF after a record", ips({0, 0, 1, 0, 1, 7}, false), 11, C::IpsNoEof},
        {"a record past the end", ips({0, 0, 1, 0, 9, 7}, true), 5, C::IpsRecordRunsPast},
        {"a run header past the end", ips({0, 0, 1, 0, 0, 1}, false), 5, C::IpsRecordRunsPast},
        {"a record beyond the image", ips({0, 0, 2, 0, 1, 7, 0, 0, 0x0F, 0, 2, 1, 2}, true), 11, C::IpsWritesBeyond},
        {"a run beyond the image", ips({0, 0, 0x0E, 0, 0, 0, 3, 9}, true), 5, C::IpsWritesBeyond},
        {"a run of length 0", ips({0, 0, 2, 0, 1, 7, 0, 0, 5, 0, 0, 0, 0, 0x41}, true), 11, C::IpsZeroRun},
        {"no header", {'P', 'A', 'T', 'C', 'x', 0, 0, 1, 0, 1, 7, 'E', 'O', 'F'}, 0, C::IpsNoHeader},
        {"a BPS patch", makeBps(Bytes{1}, Bytes{2}), 0, C::IpsIsBps},
        {"seven bytes", bytesOf("PATCHEO"), 0, C::IpsTooShort},
    };
    for (const auto& c : ipsCases) {
        const Result<std::vector<IpsRecord>> r = parseIps(c.patch, 16);
        ASSERT_FALSE(r) << c.what;
        EXPECT_EQ(r.problem().offset, c.offset) << c.what;
        EXPECT_EQ(r.problem().code, c.code) << c.what;
    }
    EXPECT_TRUE(parseIps(ips({0, 0, 0x0E, 0, 0, 0, 1, 9}, true), 16));  // a run of one
    EXPECT_TRUE(parseIps(ips({0, 0, 0x0E, 0, 2, 1, 2}, true), 16));  // ends on the image's last byte
    const Bytes source = bytesOf("abcdefghij"), target = bytesOf("efghijabcd");
    const Bytes patch = makeBps(source, target);
    EXPECT_EQ(*applyBps(source, patch), target);
    Bytes damaged = patch;
    damaged[damaged.size() - 13] ^= 1;  // the last new byte
    // A header that asks for 4 GiB of target, under a patch checksum that
    // does not hold: refused on the checksum, before any size is trusted.
    Bytes huge = {'B', 'P', 'S', '1', 0x80, 0xFE, 0xFF, 0xFF, 0xFF, 0x8E, 0x80};
    huge.resize(huge.size() + 12);
    const struct { const char* what; Bytes source, patch; size_t offset; ProblemCode code; } bpsCases[] = {
        {"another source", bytesOf("abcdefghiJ"), patch, patch.size() - 12, C::BpsSourceChecksum},
        {"a changed new byte (the patch checksum)", source, damaged, patch.size() - 4, C::BpsPatchChecksum},
        {"a source of another size", bytesOf("abc"), patch, 4, C::BpsSourceSize},
        {"no header", source, bytesOf("IPS1"), 0, C::BpsNoHeader},
        {"4 GiB asked for", {}, huge, 19, C::BpsPatchChecksum},
    };
    for (const auto& c : bpsCases) {
        const Result<Bytes> r = applyBps(c.source, c.patch);
        ASSERT_FALSE(r) << c.what;
        EXPECT_EQ(r.problem().offset, c.offset) << c.what;
        EXPECT_EQ(r.problem().code, c.code) << c.what;
    }
    EXPECT_EQ(applyBps(bytesOf("abc"), patch).problem().expected, 10);  // the size it was made for
    EXPECT_FALSE(applyBps(source, Bytes(patch.begin(), patch.end() - 1)));
}

}  // namespace
}  // namespace velk
