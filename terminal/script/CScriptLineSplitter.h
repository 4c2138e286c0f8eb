#pragma once
#include <list>
#include <string>

// Cuts the bytes of a script file into script lines. CR, LF and CR LF each
// end a line; a stored line ends with CR LF whatever the file used, so the
// commands see one line end. NUL bytes are dropped, comment lines (';'
// first) are dropped whole, and a line beginning with "$R" ends the script.
class CScriptLineSplitter {
public:
    enum class Outcome { More, Repeat, TooLong };

    // Lines longer than maxLength, counted with their CR LF, are refused.
    CScriptLineSplitter(std::list<std::string>& lines, std::size_t maxLength);

    // Repeat: "$R" (or "$r") has been stored as the last line.
    Outcome Take(char byte);
    // The file ended: a last line without a line end is kept as it is.
    Outcome Finish();

private:
    Outcome EndLine(bool lineEnd);

    std::list<std::string>& m_lines;
    std::size_t m_nMaxLength;
    std::string m_line;
    bool m_bAfterCarriageReturn = false;
    bool m_bInComment = false;
};
