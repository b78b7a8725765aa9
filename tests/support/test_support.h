// Shared helpers for the tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rom/catalogues.h"
#include "image/rom_image.h"

namespace velk::test {

// The demo image for the default seed, generated once per test run.
const RomImage& demoImage();
// Its catalogues, built once.
const Catalogues& demoCatalogues();

// A fresh folder under the system's temporary folder, removed at exit.
std::filesystem::path scratchFolder();
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readBytes(const std::filesystem::path& path);

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
