#pragma once
#include <cstddef>
#include <string>

// The four data utilities as built.
inline const std::string kDralin = QSV_BINARY_DIR "/convert/dralin";
inline const std::string kQuenta = QSV_BINARY_DIR "/merge/quenta";
inline const std::string kVostic = QSV_BINARY_DIR "/check/vostic";
inline const std::string kPelmar = QSV_BINARY_DIR "/slice/pelmar";

// The converter's decoder that writes each ensemble's number as a line.
inline const std::string kNumberDecoder = "0080,3,2\r\n$L\r\n";

// The lines the number decoder makes of ensembles 1..last.
inline std::string NumberLines(std::size_t last)
{
    std::string lines;
    for (std::size_t number = 1; number <= last; ++number)
        lines += std::to_string(number) + "\r\n";
    return lines;
}

// The line of a report that begins with `start`, without its end; empty when there is none.
inline std::string LineOf(const std::string& report, const std::string& start)
{
    const std::size_t at = report.find(start);
    return at == std::string::npos ? std::string() : report.substr(at, report.find('\r', at) - at);
}
