#pragma once
#include <cstdint>
#include <functional>
#include <string>

class CLineHold;
class ILineConnection;

// What a search shows while it runs: the rate being tried, and Cancel.
class IDetectProgress {
public:
    virtual ~IDetectProgress() = default;
    virtual void SetMessage(const std::string& text) = 0;
    // False once the user cancelled or the application is closing.
    virtual bool CheckCancel() = 0;
    // The search is over: the progress goes away before the result is told.
    virtual void Close() = 0;
};

// Finds the baud rate at which the instrument on an open connection answers
// a break with a carriage return and its banner. Each rate is tried once at
// no parity, 8 data bits and one stop bit; the first byte seen at 9600 picks
// the next rate to try. When nothing is found the line gets back the
// settings it had at the start. The search holds the line throughout.
class CInstrumentDetector {
public:
    // Who asked: the property page waits an extra second after a software
    // break; the script pauses with its own wait.
    enum class Variant { Page, Script };

    struct Result {
        bool found = false;
        // Code of the connection settings (1 = 1200 ... 8 = 115200).
        std::int32_t baudCode = 0;
    };

    static constexpr const char* kBannerText = "Pemberlin";

    CInstrumentDetector(ILineConnection& connection, Variant variant);

    // The 1-second pause after a try without the carriage-return answer, and
    // the page's extra second after a software break; WaitWithMessages(1, 0)
    // unless replaced (the script gives its own wait).
    void SetPause(std::function<void()> pause);

    // The whole search with that progress (already shown). Not found at once,
    // without touching anything, when the port is not open.
    Result DetectInstrument(IDetectProgress& progress);

    // The state the search goes to after the 9600 try read this byte.
    static int GuessedState(std::uint8_t firstByte);

private:
    struct SavedLine {
        std::uint32_t baudRate = 0;
        char parity = 'N';
        std::uint8_t stopBits = 1;
        std::uint8_t byteSize = 8;
    };

    SavedLine KeepLineSettings() const;
    void RestoreLineSettings(CLineHold& hold, const SavedLine& saved);
    // One rate: true when the instrument answered with its banner.
    // firstByte: the first byte after the break, -1 when none came.
    bool TryRate(CLineHold& hold, const std::string& portName, std::uint32_t rate, IDetectProgress& progress,
                 int& firstByte);

    ILineConnection& m_connection;
    Variant m_variant;
    std::function<void()> m_pause;
};
