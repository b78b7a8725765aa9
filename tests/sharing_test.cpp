#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "patch/bps.h"
#include "ops/patch_notes.h"
#include "patch/ips.h"
#include "rom/save_layout.h"
#include "test_support.h"

namespace velk {
namespace {

class Sharing : public ::testing::Test {
protected:
    void SetUp() override {
        platform.files["game.smc"] = test::demoImage().bytes;
        ASSERT_TRUE(test::run(state, platform, openRomAtStart, "game.smc").done());
    }
    Outcome saveAs(const fs::path& to) { return test::run(state, platform, saveRom, to); }
    static Bytes patchedByIps(const Bytes& ips) {
        Bytes patched = test::demoImage().bytes;
        applyIpsRecords(*parseIps(ips, patched.size()), patched);
        return patched;
    }
    Bytes save(const fs::path& to) {
        EXPECT_TRUE(saveAs(to).done()) << to;
        return test::fileOf(platform, to);
    }
    void editSomething(const std::string& text = "ウ") {
        platform.files["t.txt"] = test::bytesOf("##No.00 00\n" + sjis(text) + "//");
        ASSERT_TRUE(test::run(state, platform, importTextCollection, "t.txt").done());
    }
    ScriptedPlatform platform;
    EditorState state;
};

TEST(Checksum, OfAnImageOfZeros) {
    RomImage zeros;
    writeChecksum(zeros);
    EXPECT_EQ(Bytes(zeros.at(0x7FDC), zeros.at(0x7FE0)), (Bytes{0x01, 0xFE, 0xFE, 0x01}));
    zeros[0x12345] = 0x10;
    writeChecksum(zeros);  // the old checksum bytes do not count: they are set to FF FF 00 00 first
    EXPECT_EQ(Bytes(zeros.at(0x7FDC), zeros.at(0x7FE0)), (Bytes{0xF1, 0xFD, 0x0E, 0x02}));
}

TEST_F(Sharing, EverySaveWritesAValidChecksumUnlessToldToKeepIt) {
    const Bytes out = save("out.smc");
    RomImage checked(out);
    writeChecksum(checked);
    EXPECT_TRUE(checked.bytes == out && out[0x7FDC] != test::demoImage()[0x7FDC]);
    state.options.keepChecksum = true;
    state.image[0x7FDC] = 0x12, state.image[0x7FDF] = 0x34;
    const Bytes kept = save("kept.smc");
    EXPECT_TRUE(kept[0x7FDC] == 0x12 && kept[0x7FDF] == 0x34);
}

TEST_F(Sharing, PatchesRoundTripToExactlyWhatASaveWrites) {
    const Bytes loaded = test::demoImage().bytes;
    const Bytes saved = save("saved.smc");
    const Bytes ips = save("p.ips"), bps = save("p.BPS");
    EXPECT_EQ(*applyBps(loaded, bps), saved);
    EXPECT_EQ(patchedByIps(ips), saved);
    EXPECT_LT(bps.size() * 5, ips.size());  // a save moves nearly everything: BPS copies it
    EXPECT_FALSE(platform.files.count("game.smc.bak"));  // a patch replaces no ROM

    editSomething();  // after edits, both still make what a save makes
    const Bytes edited = save("edited.smc");
    EXPECT_EQ(*applyBps(loaded, save("e.bps")), edited);
    EXPECT_EQ(patchedByIps(save("e.ips")), edited);
}

// A patch just after a save of the same document takes that save's layout;
// an edit between them is laid out again.
TEST_F(Sharing, APatchAfterASaveIsThePatchOfTheDocumentAsItStands) {
    editSomething();
    const Bytes alone = save("alone.bps");
    save("a.smc");
    EXPECT_EQ(save("b.bps"), alone);
    editSomething("エ");
    const Bytes edited = save("c.bps");
    EXPECT_NE(edited, alone);
    EXPECT_EQ(*applyBps(test::demoImage().bytes, edited), save("c.smc"));
}

TEST_F(Sharing, ACopierHeaderIsKeptAndPatchedAlong) {
    Bytes headered(512 + test::demoImage().bytes.size(), 0x77);
    std::copy(test::demoImage().bytes.begin(), test::demoImage().bytes.end(), headered.begin() + 512);
    platform.files["headered.smc"] = headered;
    ASSERT_TRUE(test::run(state, platform, reloadRom, "headered.smc").done());
    const Bytes out = save("out.smc");
    ASSERT_EQ(out.size(), headered.size());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 512), Bytes(512, 0x77));
    const Bytes image(out.begin() + 512, out.end());
    EXPECT_EQ(image, state.image.bytes);
    // Patches go between the images without the header, as patchers expect.
    EXPECT_EQ(*applyBps(test::demoImage().bytes, save("h.bps")), image);
    EXPECT_EQ(patchedByIps(save("h.ips")), image);
    EXPECT_EQ(saveAs("h2.bps").summary, sjis("h2.bps にパッチを書き出しました（コピアヘッダーを除いたROM用）"));
}

TEST_F(Sharing, AFileGrownPastAnyImageIsNeitherReadWholeNorReplaced) {
    Bytes grown(test::demoImage().bytes.size() + 512 + 1, 0x33);  // one byte more than the largest image
    platform.files["game.smc"] = grown;
    editSomething();
    const RomImage before = state.image;
    const Outcome o = saveAs("game.smc");
    EXPECT_EQ(o.problem->text, sjis("game.smc.bakに書き込めませんでした"));
    EXPECT_EQ(o.problem->detail, "game.smc.bak: game.smc has grown to more than 4194816 bytes since it was loaded");
    EXPECT_EQ(platform.files["game.smc"], grown);
    EXPECT_FALSE(platform.files.count("game.smc.bak"));
    EXPECT_EQ(state.image.bytes, before.bytes);
    grown.pop_back();  // exactly the largest: backed up whole, and only by the first save over it
    platform.files["game.smc"] = grown;
    const Bytes first = save("game.smc");
    editSomething("エ");
    EXPECT_NE(save("game.smc"), first);
    EXPECT_EQ(platform.files["game.smc.bak"], grown);
    save("other.smc");
    EXPECT_FALSE(platform.files.count("other.smc.bak"));
}

using test::cli;
using test::CliRun;

TEST(SharingCli, ThePatchVerbItsChecksumsAndNotes) {
    const fs::path folder = test::scratchFolder();
    test::writeBytes(folder / "game.smc", test::demoImage().bytes);
    const std::string rom = (folder / "game.smc").string();
    for (const char* wrong : {"x.smc", "x.ups"}) EXPECT_EQ(cli({rom, "patch", (folder / wrong).string()}).code, 2);
    EXPECT_FALSE(fs::exists(folder / "x.smc"));
    const CliRun r = cli({rom, "patch", (folder / "hack.Ips").string()});
    EXPECT_EQ(r.code, 0) << r.err;
    const Bytes ips = test::readBytes(folder / "hack.Ips");  // the extension in any case
    EXPECT_EQ(Bytes(ips.begin(), ips.begin() + 5), test::bytesOf("PATCH"));
    EXPECT_EQ(cli({"--keep-checksum", rom, "save", (folder / "k.smc").string()}).code, 0);
    const Bytes kept = test::readBytes(folder / "k.smc");
    EXPECT_EQ(Bytes(kept.begin() + 0x7FDC, kept.begin() + 0x7FE0),
              Bytes(test::demoImage().bytes.begin() + 0x7FDC, test::demoImage().bytes.begin() + 0x7FE0));

    // A headered file built from a project: the checksums and --notes are all of the images without the header.
    Bytes headered(512, 0);
    headered.insert(headered.end(), test::demoImage().bytes.begin(), test::demoImage().bytes.end());
    const std::string hrom = (folder / "h.smc").string(), notes = (folder / "notes.md").string();
    test::writeBytes(hrom, headered);
    EXPECT_EQ(cli({hrom, "info"}).err, "ROM: 512-byte copier header, kept on save\n");
    ASSERT_EQ(cli({hrom, "export-project", (folder / "proj").string()}).code, 0);
    const CliRun built = cli({"--notes", notes, hrom, "build", (folder / "proj/").string(), "patch", (folder / "out.bps").string()});
    const Bytes bps = test::readBytes(folder / "out.bps");
    const RomHashes result = romHashes(*applyBps(test::demoImage().bytes, bps));
    const std::string md5 = "5563c2c55cd92b547277d510c7aeada7", sha1 = "0708496f7816ca7aefc6f75b7fef189936ecaf0d";
    const std::string crc = built.out.substr(built.out.find("target CRC32 ") + 13, 8);
    EXPECT_NE(built.out.find("verified\nout.bps: made for the ROM without its 512-byte copier header, as patchers expect\n"
                             "base:   CRC32 B2FDA92F  MD5 " + md5 + "  SHA-1 " + sha1 + "\nresult: CRC32 " + crc + "  MD5 " +
                             result.md5 + "  SHA-1 " + result.sha1 + "\n"), std::string::npos) << built.out << built.err;
    EXPECT_EQ(test::readBytes(notes),
              bytesOf("# proj: patch notes\n\nMade with VELK Version 1.14 from the project `proj`.\n\n"
                      "Apply the patch to the base ROM without a copier header; it gives the result below.\n"
                      "The base ROM was a file with a 512-byte copier header; the patch and the checksums leave it out.\n\n"
                      "| ROM | CRC32 | MD5 | SHA-1 |\n|---|---|---|---|\n| base | `B2FDA92F` | `" + md5 + "` | `" + sha1 +
                      "` |\n| result of `out.bps` (" + std::to_string(bps.size()) + " bytes) | `" + crc + "` | `" + result.md5 +
                      "` | `" + result.sha1 + "` |\n"));
    EXPECT_TRUE(patchNotesText({PatchFacts{}}, "").starts_with("# Patch notes\n\nMade with VELK Version 1.14.\n\nApply"));
    EXPECT_NE(patchNotesText({PatchFacts{}}, "").find("\nThe base ROM had no copier header.\n"), std::string::npos);
    fs::remove(notes);
    EXPECT_EQ(cli({"--notes", notes, hrom, "save", (folder / "s.smc").string()}).code, 2);  // no patch to note
    EXPECT_EQ(cli({"--notes", notes, hrom, "patch", (folder / "p.bps").string(), "import-texts", notes + ".txt"}).code, 1);
    EXPECT_FALSE(fs::exists(notes));  // a run that failed writes none
    // notes never take the place of a file the run names, however it is spelt
    for (const char* verb : {"patch", "import-texts"})
        EXPECT_EQ(cli({"--notes", (folder / "./out.bps").string(), hrom, verb, (folder / "out.bps").string()}).code, 2);
    EXPECT_EQ(test::readBytes(folder / "out.bps"), bps);
}

}  // namespace
}  // namespace velk
