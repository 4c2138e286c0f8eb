#pragma once
#include "CBaseFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Reads the merger's ASCII file forward, one line per call, through a buffer.
// CR, LF and CR LF each end a line; the end of the file ends a last line
// that has no line end. A failed read ends the lines too (ReadError tells),
// and so does a line longer than kMaxTextLineBytes.
class CAsciiLineReader {
public:
    explicit CAsciiLineReader(CBaseFile& file);

    // False only when the file is exhausted and nothing was read.
    bool ReadLine(std::string& line);
    // The failure of a read that ended the lines; S_OK otherwise.
    HRESULT ReadError() const { return m_hrReadError; }
    // True once a line too long to read has ended the file.
    bool LineTooLong() const { return m_bLineTooLong; }

private:
    bool Refill();
    // Drops the LF of a CR LF pair that straddles two buffer fills.
    void SkipPendingLineFeed();

    CBaseFile& m_file;
    std::vector<char> m_buffer;
    std::size_t m_next = 0;
    std::size_t m_end = 0;
    bool m_atEnd = false;
    HRESULT m_hrReadError = S_OK;
    bool m_afterCarriageReturn = false;
    bool m_bLineTooLong = false;
};
