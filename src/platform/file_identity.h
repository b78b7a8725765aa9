// Which file a path names, and whether it changed.
#pragma once

#include <cstdint>

namespace velk {

// Device, inode, size and time of the last change.
struct FileIdentity {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedNs = 0;
    enum class Kind : uint8_t { Regular, Folder, Other } kind = Kind::Regular;  // Other: a FIFO, a device, ...
    bool operator==(const FileIdentity&) const = default;
    bool sameFileAs(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
};

}  // namespace velk
