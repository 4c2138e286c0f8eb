#pragma once
#include "Messages.h"

// The messages of the terminal: on the screen while someone can answer
// them. Once the main window has closed, or a signal ends the program, a box
// would keep the ending program up with no window behind it (and nobody may
// be there), so the text goes to standard error with the default answer.
class CClosingMessages : public platform::MessageBackend {
public:
    explicit CClosingMessages(platform::MessageBackend& screen) : m_screen(screen) {}

    int Show(const std::string& text, unsigned type) override
    {
        return m_bUnanswered ? m_standardError.Show(text, type) : m_screen.Show(text, type);
    }
    void EndAnswers() { m_bUnanswered = true; }

private:
    platform::MessageBackend& m_screen;
    platform::HeadlessMessageBackend m_standardError;
    bool m_bUnanswered = false;
};
