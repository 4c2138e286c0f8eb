#pragma once
#include <string>
#include <utility>
#include <vector>

// The desktop's plain-text editor, started on one file (or on none, for an
// empty path) without waiting for it. Any file opens as text, whatever its
// type (a script file would else go to the program registered for scripts).
class CTextEditor {
public:
    using Command = std::pair<std::string, std::vector<std::string>>;

    // The program and its arguments from a desktop entry's Exec line, the
    // path as one argument (none for an empty path); empty when the line has
    // no program.
    static Command FromExecLine(const std::string& execLine, const std::string& path);
    // The default text/plain application, else the desktop's opener (which
    // needs a file); empty when there is neither.
    static Command EditorCommand(const std::string& path);
    // False when nothing could be started.
    static bool Open(const std::string& path);

private:
    static std::string DefaultTextApplicationExec();
};
