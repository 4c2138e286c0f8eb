#pragma once
#include "Messages.h"

namespace platform {

// Message boxes on screen: caption = the program's name, buttons and icon from
// the MB_* flags, "\r\n" and "\n\r" shown as one line break.
class QtMessageBackend : public MessageBackend {
public:
    int Show(const std::string& text, unsigned type) override;
};

} // namespace platform
