#include "CInstrumentDetector.h"

#include "CLineHold.h"
#include "CSerialPort.h"
#include "ILineConnection.h"
#include "Format.h"
#include "MessagePump.h"

#include <array>
#include <memory>

namespace {

struct RateOfState {
    std::uint32_t rate;
    std::int32_t code;
};

// Index = state; state 0 is unused. 300 and 600 baud are never tried.
constexpr std::array<RateOfState, 9> kRates = {{{0, 0},
                                                {9600, 4},
                                                {19200, 5},
                                                {38400, 6},
                                                {57600, 7},
                                                {115200, 8},
                                                {4800, 3},
                                                {2400, 2},
                                                {1200, 1}}};
constexpr int kFirstState = 1;
constexpr int kLastState = 8;
constexpr int kStateWithoutGuess = 2;

constexpr char kParity = 'N';
constexpr std::uint8_t kStopBits = 1;
constexpr std::uint8_t kByteSize = 8;
constexpr std::uint8_t kCarriageReturn = 0x0D;
constexpr std::uint16_t kByteSeconds = 1;
constexpr std::uint16_t kBannerSeconds = 8;

} // namespace

CInstrumentDetector::CInstrumentDetector(ILineConnection& connection, Variant variant)
    : m_connection(connection), m_variant(variant), m_pause([] { platform::WaitWithMessages(1, 0); })
{
}

void CInstrumentDetector::SetPause(std::function<void()> pause)
{
    m_pause = std::move(pause);
}

int CInstrumentDetector::GuessedState(std::uint8_t firstByte)
{
    switch (firstByte) {
    case 0x0A: return 3;
    case 0x12: return 4;
    case 0xEA: return 5;
    case 0xE6: return 6;
    case 0x78: return 7;
    case 0x80: return 8;
    default: return kStateWithoutGuess;
    }
}

CInstrumentDetector::SavedLine CInstrumentDetector::KeepLineSettings() const
{
    platform::LineSettings dcb;
    m_connection.Port().GetDCB(dcb);
    SavedLine saved;
    saved.baudRate = dcb.BaudRate;
    saved.parity = m_connection.Port().GetParityChar();
    saved.stopBits = dcb.StopBits == platform::TWOSTOPBITS ? 2 : 1;
    saved.byteSize = dcb.ByteSize;
    return saved;
}

void CInstrumentDetector::RestoreLineSettings(CLineHold& hold, const SavedLine& saved)
{
    hold.Admit([&] { m_connection.Port().SetComm(saved.baudRate, saved.parity, saved.stopBits, saved.byteSize); });
}

CInstrumentDetector::Result CInstrumentDetector::DetectInstrument(IDetectProgress& progress)
{
    if (!m_connection.IsConnected())
        return {};
    const std::shared_ptr<void> alive = m_connection.HoldWhileRunning();
    CLineHold hold(m_connection.Port());
    const SavedLine saved = KeepLineSettings();
    progress.CheckCancel();
    const std::string portName = platform::Format("COM%d", static_cast<int>(m_connection.Port().ComPort()));

    std::array<bool, kRates.size()> tried{};
    int state = kFirstState;
    bool guessPending = false;
    Result result;
    for (;;) {
        while (state <= kLastState && tried[state])
            ++state;
        if (state > kLastState)
            break;
        tried[state] = true;
        int firstByte = -1;
        if (TryRate(hold, portName, kRates[state].rate, progress, firstByte))
            result = {true, kRates[state].code};
        if (!progress.CheckCancel() || result.found)
            break;
        if (state == kFirstState && firstByte >= 0) {
            state = GuessedState(static_cast<std::uint8_t>(firstByte));
            guessPending = true;
        } else if (state == kFirstState || guessPending) {
            state = kStateWithoutGuess;
            guessPending = false;
        } else {
            ++state;
        }
    }
    progress.Close();
    if (!result.found)
        RestoreLineSettings(hold, saved);
    return result;
}

bool CInstrumentDetector::TryRate(CLineHold& hold, const std::string& portName, std::uint32_t rate,
                                  IDetectProgress& progress, int& firstByte)
{
    CSerialPort& serial = m_connection.Port();
    progress.SetMessage(platform::Format("%s: %ld, %c, 8, %d", portName.c_str(), static_cast<long>(rate), kParity,
                                         static_cast<int>(kStopBits)));
    hold.Admit([&] { serial.SetComm(rate, kParity, kStopBits, kByteSize); });
    serial.FlushInput();
    hold.Admit([this] { m_connection.SendBreak(); });
    // The page waits its second for the instrument to take "===" as a break.
    if (m_variant == Variant::Page && m_connection.UsesSoftwareBreak())
        m_pause();

    std::uint8_t byte = 0;
    std::uint32_t count = 0;
    serial.ReadTimed(&byte, 1, kByteSeconds, &count);
    if (count != 1) {
        m_pause();
        return false;
    }
    firstByte = byte;
    if (byte != kCarriageReturn) {
        m_pause();
        return false;
    }
    std::uint8_t skipped = 0;
    serial.ReadTimed(&skipped, 1, kByteSeconds);
    std::string banner;
    return m_connection.WaitForPrompt(banner, kBannerSeconds) && banner.find(kBannerText) != std::string::npos;
}
