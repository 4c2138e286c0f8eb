#include "CTypedCommandWatchers.h"

#include "CSerialPort.h"
#include "MessagePump.h"
#include "resource.h"

#include <algorithm>
#include <cctype>
#include <string>

using namespace parlim;

namespace {

constexpr char kCR = '\r';
constexpr char kBackspace = '\b';
constexpr std::int32_t kBaud300 = -1;
constexpr std::int32_t kBaud9600 = 4;
constexpr std::int32_t kParityNone = 2;
constexpr std::size_t kBaudCommandLength = 5;

bool IsLetter(char ch, char upper)
{
    return std::toupper(static_cast<unsigned char>(ch)) == upper;
}

// The first letter restarts a command wherever it comes; backspace takes
// one character back. True when the character was one of these.
bool TakeFirstLetterOrBackspace(std::string& buffer, char ch, char firstLetter)
{
    if (IsLetter(ch, firstLetter)) {
        buffer.assign(1, ch);
        return true;
    }
    if (ch == kBackspace) {
        if (!buffer.empty())
            buffer.pop_back();
        return true;
    }
    return false;
}

// CB and CS: anything goes after the C.
void AppendAfterC(std::string& buffer, char ch)
{
    if (!buffer.empty() && IsLetter(buffer.front(), 'C'))
        buffer += ch;
}

// RY and MY: the second letter must be Y; after it anything goes.
void AppendAfterY(std::string& buffer, char ch)
{
    if (buffer.size() == 1) {
        if (IsLetter(ch, 'Y'))
            buffer += ch;
        else
            buffer.clear();
    } else if (buffer.size() >= 2) {
        buffer += ch;
    }
}

// Takes one typed character into the command's buffer; true for the
// carriage return that ends the command, which the buffer then holds.
bool EndsCommand(std::string& buffer, char ch, char firstLetter, void (*append)(std::string&, char))
{
    if (TakeFirstLetterOrBackspace(buffer, ch, firstLetter))
        return false;
    if (ch != kCR) {
        append(buffer, ch);
        return false;
    }
    return true;
}

std::int32_t ParityOfDigit(char digit)
{
    switch (digit) {
    case '2': return 0;
    case '3': return 1;
    case '4': return 3;
    case '5': return 4;
    default: return kParityNone;
    }
}

} // namespace

CTypedCommandWatchers::CTypedCommandWatchers(ILineConnection& connection, CommandSender sendCommand)
    : m_connection(connection), m_sendCommand(std::move(sendCommand))
{
}

void CTypedCommandWatchers::Watch(char ch)
{
    if (m_connection.LineSettings().m_nDeviceType == kGlissom)
        return;
    WatchBaudCommand(ch);
    WatchRecorderCommand(ch);
    WatchPingCommand(ch);
    WatchLoopRecorderCommand(ch);
}

bool CTypedCommandWatchers::HasLoopRecorder() const
{
    return IsLoopRecorderType(m_connection.LineSettings().m_nDeviceType);
}

void CTypedCommandWatchers::WatchBaudCommand(char ch)
{
    std::string& buffer = m_connection.TypedSoFar(ILineConnection::TypedWatch::Baud);
    if (!EndsCommand(buffer, ch, 'C', AppendAfterC))
        return;
    if (buffer.size() != kBaudCommandLength) {
        buffer.clear();
        return;
    }
    if (!IsLetter(buffer[1], 'B'))
        return;
    // Taken now: the waits below let further typing in.
    const std::string command = buffer;
    buffer.clear();
    if (!ApplyBaudCommand(command))
        return;
    if (m_connection.SendsCheckAfterRateChange())
        m_connection.Port().Write("CK\r", 3);
}

bool CTypedCommandWatchers::ApplyBaudCommand(const std::string& command)
{
    const char baudDigit = command[2];
    // Only 0-8 name a rate; anything else leaves the line as it is.
    if (baudDigit < '0' || baudDigit > '8')
        return false;
    PortConfig& config = m_connection.LineSettings();
    if (config.m_nBaud == kBaud300)
        platform::WaitWithMessages(1, 0);
    if (baudDigit == '0') {
        if (HasLoopRecorder())
            return false;
        config.m_nBaud = config.m_nDeviceType == kFennick ? kBaud9600 : kBaud300;
    } else {
        config.m_nBaud = baudDigit - '0';
    }
    config.m_nParity = ParityOfDigit(command[3]);
    config.m_nStopBits = command[4] == '2' ? 2 : 0;
    platform::WaitWithMessages(0, 100);
    m_connection.ApplyPortSettings();
    m_connection.SavePortConfig();
    return true;
}

void CTypedCommandWatchers::WatchRecorderCommand(char ch)
{
    if (HasLoopRecorder())
        return;
    std::string& buffer = m_connection.TypedSoFar(ILineConnection::TypedWatch::Recorder);
    if (!EndsCommand(buffer, ch, 'R', AppendAfterY))
        return;
    if (buffer.size() > 1) {
        buffer += kCR;
        m_sendCommand(ID_FILE_RECOVER_RECORDER);
    }
    buffer.clear();
}

void CTypedCommandWatchers::WatchPingCommand(char ch)
{
    std::string& buffer = m_connection.TypedSoFar(ILineConnection::TypedWatch::Ping);
    if (!EndsCommand(buffer, ch, 'C', AppendAfterC))
        return;
    std::erase(buffer, ' ');
    std::transform(buffer.begin(), buffer.end(), buffer.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    if (buffer.size() != 2)
        buffer.clear();
    else if (buffer[1] == 'S')
        m_connection.SetPinging(true);
}

void CTypedCommandWatchers::WatchLoopRecorderCommand(char ch)
{
    if (!HasLoopRecorder())
        return;
    std::string& buffer = m_connection.TypedSoFar(ILineConnection::TypedWatch::LoopRecorder);
    if (!EndsCommand(buffer, ch, 'M', AppendAfterY))
        return;
    if (buffer.size() < 2) {
        buffer.clear();
        return;
    }
    buffer += kCR;
    m_sendCommand(ID_FILE_RECOVER_LOOP_RECORDER);
    // Normally emptied by the transfer already; a dropped or failed command
    // must not leave it looking typed to a later recovery.
    buffer.clear();
}
