#include "CCommandBytes.h"

#include "HexToInt.h"

#include <chrono>
#include <cstdint>
#include <thread>

std::string CCommandBytes::BinaryCommand(std::string_view text)
{
    std::string bytes(text.substr(0, std::min(text.size(), kMaxBinaryCommand)));
    if (std::size_t lineFeed = bytes.find('\n'); lineFeed != std::string::npos)
        bytes.erase(lineFeed);
    std::uint16_t sum = 0;
    for (char byte : bytes)
        sum = static_cast<std::uint16_t>(sum + static_cast<unsigned char>(byte));
    bytes += static_cast<char>(sum >> 8);
    bytes += static_cast<char>(sum & 0xFF);
    return bytes;
}

std::string CCommandBytes::HexBytes(std::string_view text)
{
    std::string digits;
    for (char character : text) {
        if (character == ' ')
            continue;
        digits += character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A') : character;
    }
    const std::size_t count = std::min(digits.size() / 2, kMaxHexBytes);
    std::string bytes;
    for (std::size_t index = 0; index < count; ++index)
        bytes += static_cast<char>(HexToInt(std::string_view(digits).substr(2 * index, 2)) & 0xFF);
    return bytes;
}

std::tm CCommandBytes::StartOfSecond()
{
    using namespace std::chrono;
    for (;;) {
        const auto now = system_clock::now();
        const long millisecond = static_cast<long>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
        if (millisecond <= kLatestMillisecond) {
            const std::time_t seconds = system_clock::to_time_t(now);
            std::tm local{};
            localtime_r(&seconds, &local);
            return local;
        }
        // Sleeping to the next full second instead of reading the clock in a
        // loop; the window stays as unresponsive as before, the processor idle.
        std::this_thread::sleep_for(milliseconds(1000 - millisecond));
    }
}
