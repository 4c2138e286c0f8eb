#include "ReferenceScan.h"

namespace {

bool Accepts(int mode, std::uint8_t id)
{
    return (mode == 0 && id == 0x7F) || (mode == 1 && id == 0x79) || (mode == 2 && (id == 0x7F || id == 0x79));
}

} // namespace

std::vector<ScannedEnsemble> ReferenceScan(const ensemble_builder::Bytes& stream, int mode)
{
    std::vector<ScannedEnsemble> found;
    std::size_t pos = 0;
    for (;;) {
        std::uint64_t counted = 0;
        bool armed = false;
        bool returned = false;
        while (!returned) {
            if (pos >= stream.size())
                return found;
            const std::uint8_t byte = stream[pos++];
            ++counted;
            if (found.empty() && counted > 262140)
                return found;
            if (!(armed && Accepts(mode, byte))) {
                armed = byte == 0x7F;
                continue;
            }
            const std::size_t afterId = pos;
            if (stream.size() - pos < 3)
                return found;
            const std::size_t size = stream[pos] + (stream[pos + 1] << 8) + (stream[pos + 2] << 16) + 2;
            pos += 3;
            armed = false;
            if (size < 6 || size > 1000000) {
                pos = afterId - 1;
                continue;
            }
            const std::size_t body = size - 5;
            if (pos == stream.size())
                return found;
            if (stream.size() - pos < body) {
                pos = afterId - 1;
                continue;
            }
            pos += body;
            counted += body;
            const std::size_t start = afterId - 2;
            std::uint32_t sum = 0;
            for (std::size_t i = start; i < start + size - 2; ++i)
                sum += stream[i];
            const std::uint16_t stored = static_cast<std::uint16_t>(stream[start + size - 2] | (stream[start + size - 1] << 8));
            if (static_cast<std::uint16_t>(sum) != stored) {
                pos = afterId - 1;
                continue;
            }
            found.push_back({start, size, pos});
            returned = true;
        }
    }
}
