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
    const TimePoint start = StartOfSecond(std::chrono::system_clock::now,
                                          [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); });
    const std::time_t seconds = std::chrono::system_clock::to_time_t(start);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

CCommandBytes::TimePoint CCommandBytes::StartOfSecond(const Now& now, const Sleep& sleep)
{
    using namespace std::chrono;
    for (;;) {
        const TimePoint reading = now();
        const auto intoSecond = duration_cast<milliseconds>(reading.time_since_epoch()) % seconds(1);
        if (intoSecond.count() <= kLatestMillisecond)
            return reading;
        sleep(seconds(1) - intoSecond);
    }
}
