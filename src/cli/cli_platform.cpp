#include "cli/cli_platform.h"

namespace velk {

void CliPlatform::showMessage(const Message& message) {
    err_ << message.display << '\n';
    if (!message.detail.empty()) err_ << message.detail << '\n';
}

}  // namespace velk
