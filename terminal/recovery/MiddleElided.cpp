#include "MiddleElided.h"

namespace {
bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}
} // namespace

std::string MiddleElided(std::string_view name, std::size_t kept)
{
    if (name.size() <= 2 * kept + 3)
        return std::string(name);
    std::size_t headEnd = kept;
    while (headEnd > 0 && IsContinuationByte(name[headEnd]))
        --headEnd;
    std::size_t tailStart = name.size() - kept;
    while (tailStart < name.size() && IsContinuationByte(name[tailStart]))
        ++tailStart;
    return std::string(name.substr(0, headEnd)) + "..." + std::string(name.substr(tailStart));
}
