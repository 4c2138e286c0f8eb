#pragma once
#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

// The bytes of the commands typed into the command dialogs.
class CCommandBytes {
public:
    static constexpr std::size_t kMaxBinaryCommand = 500;
    static constexpr std::size_t kMaxHexBytes = 500;
    static constexpr long kLatestMillisecond = 50;

    // The text up to its first line feed (at most 500 characters), then the
    // 16-bit sum of its bytes, high byte first.
    static std::string BinaryCommand(std::string_view text);
    // Pairs of hexadecimal digits after upper-casing and dropping blanks; a
    // pair with another character gives 0xFF, a last odd character is ignored.
    static std::string HexBytes(std::string_view text);
    using TimePoint = std::chrono::system_clock::time_point;
    using Now = std::function<TimePoint()>;
    using Sleep = std::function<void(std::chrono::milliseconds)>;

    // The local time once the clock stands in the first 51 ms of a second.
    static std::tm StartOfSecond();
    // The first reading of now() in the first 51 ms of a second; between
    // readings it sleeps to the next full second instead of spinning.
    static TimePoint StartOfSecond(const Now& now, const Sleep& sleep);
};
