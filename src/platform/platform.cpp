#include "platform/platform.h"

#include "text/sjis.h"

namespace velk {

void Platform::messageBox(std::string_view text, std::string_view detail) {
    showMessage({std::string(text), fromCp932Escaped(text), std::string(detail)});
}

}  // namespace velk
