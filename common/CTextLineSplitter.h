#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Cuts bytes that arrive in chunks into text lines. CR, LF and CR LF each
// end a line, a CR LF pair also when a chunk ends between the two. A line
// is held to a bound so that a file without line ends cannot grow one
// without limit.
class CTextLineSplitter {
public:
    enum class Result { Line, TooLong, NeedMore };

    explicit CTextLineSplitter(std::size_t maxLineBytes);

    // The bytes are read in place: they must stay valid until Next answers NeedMore.
    void Feed(std::string_view bytes);
    // The next whole line, without its line end. TooLong: the line passed the
    // bound; `line` holds its first bound + 1 bytes and the rest of it, up to
    // its line end, is skipped.
    Result Next(std::string& line);
    // At the true end of the input: the last line, the one without a line
    // end; false when there is none.
    bool TakeLast(std::string& line);

private:
    void SkipPairedLineFeed();
    void Keep(std::string_view piece);
    Result Deliver(std::string& line, Result result);

    std::size_t m_maxLineBytes;
    std::string_view m_rest;
    std::string m_line;
    bool m_afterCarriageReturn = false;
    bool m_skippingLongLine = false;
};
