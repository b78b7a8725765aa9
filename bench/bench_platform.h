// The benchmarks' platform: real files, every dialog answered with one path
// (or cancelled when there is none), messages dropped.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/disk_platform.h"

namespace velk {

struct BenchPlatform : DiskPlatform {
    std::optional<std::filesystem::path> path;
    std::optional<ChosenFile> openFileDialog(const FileDialogOptions&) override { return chosen(); }
    std::optional<ChosenFile> saveFileDialog(const FileDialogOptions&) override { return chosen(); }
    void showMessage(const Message&) override {}

private:
    std::optional<ChosenFile> chosen() const {
        if (!path) return std::nullopt;
        return ChosenFile{*path, "f"};
    }
};

}  // namespace velk
