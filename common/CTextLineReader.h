#pragma once
#include "CTextLineSplitter.h"
#include "HResult.h"

#include <string>
#include <vector>

class CBaseFile;

// Reads a text file forward, one line per call. The bytes that arrived
// before a failed read still give their whole lines; the line the failure
// cut is never given. At the true end of the file a last line without a
// line end is a line. A line holds at most kMaxTextLineBytes.
class CTextLineReader {
public:
    explicit CTextLineReader(CBaseFile& file);

    // False at the end of the file, at a failed read (ReadError) and at a
    // line longer than the bound (LineTooLong: `line` holds its first bound
    // + 1 bytes, and the next call goes on after that line).
    bool ReadLine(std::string& line);
    // The failure that ended the lines; S_OK otherwise.
    HRESULT ReadError() const { return m_hrReadError; }
    // True when the last call stopped at a line too long to read.
    bool LineTooLong() const { return m_lineTooLong; }
    // False when the last line given was the file's last, without a line end.
    bool LineEnded() const { return m_lineEnded; }

private:
    void ReadChunk();

    CBaseFile& m_file;
    CTextLineSplitter m_splitter;
    std::vector<char> m_buffer;
    HRESULT m_hrReadError = S_OK;
    bool m_atEnd = false;
    bool m_lineTooLong = false;
    bool m_lineEnded = true;
};
