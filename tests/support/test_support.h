// Shared helpers for the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/rom_image.h"
#include "ops/operations.h"
#include "rom/catalogues.h"
#include "scripted_platform.h"

namespace velk::test {

// The demo image for the default seed, generated once per test run.
const RomImage& demoImage();
// Its catalogues, built once.
const Catalogues& demoCatalogues();

// A state holding the demo image and its catalogues, loaded from the
// platform's file "demo.smc" (which this puts there); or, given a path, from
// that file on disk, the platform then working on disk.
EditorState demoState(ScriptedPlatform& platform, const std::filesystem::path& onDisk = {});
// Runs the operation on `path` as the window does once its dialog is
// answered (nothing: the user cancels, and nothing runs).
Outcome run(EditorState& state, ScriptedPlatform& platform, Operation operation,
            std::optional<std::filesystem::path> path);
// The bytes of a platform file, empty when there is none.
std::vector<uint8_t> fileOf(const ScriptedPlatform& platform, const std::filesystem::path& path);

// Saves the state to the platform's file `name` and loads that file into a
// fresh state, as a user would after a restart.
EditorState savedAndReloaded(EditorState& state, ScriptedPlatform& platform, const std::string& name = "out.smc");
// The first record whose unpacked bytes differ between the two, if any.
std::optional<size_t> firstDifference(ConstCatalogue a, ConstCatalogue b);

// A fresh folder under the system's temporary folder, removed at exit.
std::filesystem::path scratchFolder();
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::filesystem::path& path);
// The names in a folder, sorted.
std::vector<std::string> listing(const std::filesystem::path& folder);

// Shift-JIS bytes of UTF-8 text, for readable expectations.
std::string sjis(const std::string& utf8);
std::vector<uint8_t> bytesOf(const std::string& s);

// velk-cli run in-process: its exit status and what it printed.
struct CliRun {
    int code;
    std::string out;
    std::string err;
};
CliRun cli(const std::vector<std::string>& args);

}  // namespace velk::test

// What every test file uses, in the namespace the tests live in.
namespace velk {
using Bytes = std::vector<uint8_t>;
using test::bytesOf;
using test::sjis;
namespace fs = std::filesystem;
}  // namespace velk
