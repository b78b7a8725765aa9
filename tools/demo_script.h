// An example change script for the demo image, with every section once and
// the files it names, for the demo, the end-to-end test and the README.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velk {

struct DemoScriptFile {
    std::string name;  // beside the script
    std::vector<uint8_t> bytes;
};

constexpr const char* kDemoScriptName = "example.txt";

// The script first (kDemoScriptName, Shift-JIS), then the files it names.
std::vector<DemoScriptFile> makeDemoScript();

}  // namespace velk
