// The command line's platform: files on disk, and messages written to the
// error stream as UTF-8.
#pragma once

#include <ostream>

#include "platform/disk_platform.h"

namespace velk {

class CliPlatform : public DiskPlatform {
public:
    explicit CliPlatform(std::ostream& err) : err_(err) {}

    // The message, and its detail on a line of its own.
    virtual void showMessage(const Message& message);
    bool utf8Files() const override { return utf8Files_; }

    void setUtf8Files(bool on) { utf8Files_ = on; }

private:
    std::ostream& err_;
    bool utf8Files_ = false;
};

}  // namespace velk
