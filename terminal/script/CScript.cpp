#include "CScript.h"

#include "CBaseFile.h"
#include "CCommandBytes.h"
#include "CSerialPort.h"
#include "CTextLineReader.h"
#include "Format.h"
#include "HexToInt.h"
#include "IScriptConnection.h"
#include "LogFileOpening.h"
#include "MessagePump.h"
#include "Messages.h"
#include "resource.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <climits>
#include <cmath>
#include <ctime>

using namespace parlim;

std::string g_strEol = "\r";

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kDefaultEol = "\r";
constexpr const char* kAutomaticWaitFormat = "$W\">\",%d";
constexpr const char* kPlainLineMarker = "CMD_OFF";
// The longest delay a script can ask for; keeps the clock arithmetic in range.
constexpr double kMaxWaitSeconds = 365.0 * 24 * 3600;
constexpr std::array<long, 9> kComRates = {600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

char UpperCase(char ch)
{
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool EndsWithLineEnd(const std::string& text)
{
    return text.size() >= 2 && text.compare(text.size() - 2, 2, kLineEnd) == 0;
}

std::string WithoutLineEnd(std::string text)
{
    if (EndsWithLineEnd(text))
        text.resize(text.size() - 2);
    return text;
}

std::string_view SkipLeadingSpace(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || (text.front() >= '\t' && text.front() <= '\r')))
        text.remove_prefix(1);
    return text;
}

// Decimal integer as atol reads it, in the C locale; saturates.
long ParseLong(std::string_view text)
{
    text = SkipLeadingSpace(text);
    bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    long value = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            break;
        int digit = ch - '0';
        if (value > (LONG_MAX - digit) / 10)
            return negative ? LONG_MIN : LONG_MAX;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

// Decimal number as atof reads it, in the C locale.
double ParseDouble(std::string_view text)
{
    text = SkipLeadingSpace(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

enum class ScriptLine { Kept, Repeat, TooLong };

// The script's own rules over one line of its file: NUL bytes are dropped, a
// comment line (';' first) is dropped whole however long, a line beginning
// with "$R" ends the script as that line, and a stored line ends with CR LF
// and holds at most kMaxLineLength characters with it.
ScriptLine KeepScriptLine(std::string line, const CTextLineReader& reader, std::list<std::string>& lines)
{
    std::erase(line, '\0');
    if (line.starts_with(';'))
        return ScriptLine::Kept;
    if (line.starts_with("$R") || line.starts_with("$r")) {
        lines.push_back(line.substr(0, 2));
        return ScriptLine::Repeat;
    }
    if (reader.LineEnded())
        line += kLineEnd;
    if (reader.LineTooLong() || line.size() > CScript::kMaxLineLength)
        return ScriptLine::TooLong;
    if (!line.empty())
        lines.push_back(std::move(line));
    return ScriptLine::Kept;
}

// Not a number counts as 0: a clamp lets NaN through, and its conversion is undefined.
int ClampToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

} // namespace

CScript::CScript(IScriptConnection* connection) : m_pConnection(connection), m_pPort(&connection->Port()) {}

CScript::~CScript() = default;

HRESULT CScript::Load(const std::string& path)
{
    m_bValid = true;
    std::list<std::string>& lines = m_pConnection->GetScriptLines();
    lines.clear();
    CBaseFile file;
    if (file.Open(path) != S_OK)
        return E_FAIL;
    CTextLineReader reader(file);
    std::string line;
    while (reader.ReadLine(line) || reader.LineTooLong()) {
        const ScriptLine kept = KeepScriptLine(std::move(line), reader, lines);
        if (kept == ScriptLine::Repeat)
            return S_OK;
        if (kept == ScriptLine::TooLong) {
            m_bValid = false;
            return E_FAIL;
        }
    }
    return reader.ReadError();
}

int CScript::Run()
{
    const std::shared_ptr<void> hold = m_pConnection->HoldWhileRunning();
    g_strEol = kDefaultEol;
    m_bPromptSeen = false;
    m_pPort->FlushInput();
    if (PumpMessages() == platform::PUMP_QUIT)
        return SCRIPT_CONTINUE;
    m_bPrinted = false;
    // A copy: commands that run inside the waits may refill the list.
    const std::list<std::string> lines = m_pConnection->GetScriptLines();
    for (const std::string& line : lines) {
        if (!m_pConnection->IsScriptRunning())
            return SCRIPT_ERROR;
        int result = ExecuteLine(line);
        if (result == SCRIPT_ERROR || result == SCRIPT_REPEAT)
            return result;
        if (result == SCRIPT_SENT)
            WaitForPromptAfterSend();
        if (PumpMessages() == platform::PUMP_QUIT)
            return SCRIPT_CONTINUE;
    }
    g_strEol = kDefaultEol;
    return SCRIPT_CONTINUE;
}

bool CScript::ParseCommand(const std::string& line)
{
    if (line.find(kPlainLineMarker) != std::string::npos)
        return false;
    std::size_t dollar = line.find('$');
    if (dollar == std::string::npos)
        return false;
    m_strLine = line.substr(dollar);
    char letter = m_strLine.size() > 1 ? m_strLine[1] : '\0';
    m_chCommand = letter == 'l' ? letter : UpperCase(letter);
    return true;
}

int CScript::ExecuteLine(const std::string& line)
{
    if (!ParseCommand(line))
        return SendPlainLine(line);
    if (m_chCommand != 'P')
        m_bPrinted = false;
    return DispatchCommand();
}

int CScript::DispatchCommand()
{
    switch (m_chCommand) {
    case 'A': return OnAsciiDisplay();
    case 'B': return OnBreak();
    case 'C': return OnComSettings();
    case 'D': return OnDelay();
    case 'E': return OnSetEol();
    case 'F': return OnFindInstrument();
    case 'G':
    case 'U': return OnNoOp();
    case 'H': return OnHexDisplay();
    case 'L':
    case 'l': return OnLog();
    case 'N': return OnSendChecksum();
    case 'P': return OnPrint();
    case 'R': return OnRepeat();
    case 'S': return OnSendHex();
    case 'T': return m_strLine[1] == 't' ? OnSendText() : OnSetClock();
    case 'W': return OnWait();
    case 'X': return OnExit();
    default: return SCRIPT_CONTINUE;
    }
}

int CScript::SendPlainLine(std::string line)
{
    const bool terminated = m_pConnection->LineSettings().m_nDeviceType != kGlissom;
    if (std::size_t end = line.find(kLineEnd); end != std::string::npos) {
        line.erase(end);
        if (terminated)
            line += g_strEol;
    }
    if (std::size_t comment = line.find(';'); comment != std::string::npos) {
        line.erase(comment);
        if (terminated)
            line += g_strEol;
    }
    if (Wait(0, 100) == platform::PUMP_QUIT)
        return SCRIPT_ABORT;
    // Only the reply to this line may satisfy the prompt wait.
    m_pPort->FlushInput();
    if (!line.empty())
        SendBytes(line);
    Wait(0, 50);
    FollowBaudChange(line);
    return SCRIPT_SENT;
}

void CScript::FollowBaudChange(const std::string& sent)
{
    std::string command;
    for (char ch : sent) {
        if (ch != ' ')
            command += UpperCase(ch);
    }
    if (command.size() < 5 || command.compare(0, 2, "CB") != 0)
        return;
    // A rate digit the instrument does not know changes nothing there either.
    const char rateDigit = command[2];
    if (rateDigit < '0' || rateDigit > '8')
        return;
    PortConfig& config = m_pConnection->LineSettings();
    if (config.m_nBaud == -1)
        Wait(1, 0);
    if (rateDigit != '0')
        config.m_nBaud = rateDigit - '0';
    else if (config.m_nDeviceType == kFennick)
        config.m_nBaud = 4;
    else if (config.m_nDeviceType != kQuillon)
        config.m_nBaud = -1;
    switch (command[3]) {
    case '2': config.m_nParity = 0; break;
    case '3': config.m_nParity = 1; break;
    case '4': config.m_nParity = 3; break;
    case '5': config.m_nParity = 4; break;
    default: config.m_nParity = 2; break;
    }
    config.m_nStopBits = command[4] == '2' ? 2 : 0;
    Wait(0, 100);
    m_pConnection->ApplyPortSettings();
    m_pConnection->SavePortConfig();
    if (m_pConnection->ChecksAfterRateChange())
        SendBytes("CK" + g_strEol);
}

void CScript::WaitForPromptAfterSend()
{
    m_bPromptSeen = false;
    const int promptWait = m_pConnection->PromptWaitSeconds();
    if (promptWait <= 0)
        return;
    m_strLine = platform::Format(kAutomaticWaitFormat, promptWait);
    OnWait();
}

int CScript::PumpMessages()
{
    if (!m_pConnection->IsScriptRunning())
        return platform::PUMP_QUIT;
    if (platform::PumpMessages() == platform::PUMP_QUIT || !m_pConnection->IsScriptRunning())
        return platform::PUMP_QUIT;
    return 1;
}

int CScript::Wait(int seconds, int milliseconds)
{
    double total = std::min(milliseconds * 0.001 + seconds, kMaxWaitSeconds);
    if (total <= 0)
        return 1;
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(total));
    do {
        if (PumpMessages() == platform::PUMP_QUIT)
            return platform::PUMP_QUIT;
    } while (Clock::now() < deadline);
    return 1;
}

void CScript::SendBytes(std::string_view bytes)
{
    // A stopped run sends nothing more, also between paced bytes.
    if (!m_pConnection->IsScriptRunning())
        return;
    if (m_pConnection->LineSettings().m_nDeviceType != kGlissom) {
        m_pPort->Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        return;
    }
    // This instrument takes its input one byte at a time.
    for (const char& byte : bytes) {
        m_pPort->Write(&byte, 1);
        if (Wait(0, 20) == platform::PUMP_QUIT)
            return;
    }
}

std::string CScript::Argument() const
{
    return m_strLine.size() > 2 ? WithoutLineEnd(m_strLine.substr(2)) : std::string();
}

std::string CScript::ClockCommand(const std::tm& local, int deviceType)
{
    if (deviceType == kGlissom)
        return platform::Format("T%02d%02d%02d%02d\r", local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                local.tm_min);
    return platform::Format("TS %02d/%02d/%02d,%02d:%02d:%02d\r", local.tm_year % 100, local.tm_mon + 1,
                            local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

int CScript::OnAsciiDisplay()
{
    m_pConnection->SetHexView(false);
    return SCRIPT_CONTINUE;
}

int CScript::OnHexDisplay()
{
    m_pConnection->SetHexView(true);
    return SCRIPT_CONTINUE;
}

int CScript::OnBreak()
{
    m_pPort->FlushInput();
    m_pConnection->SendBreak();
    WaitForPromptAfterSend();
    return SCRIPT_CONTINUE;
}

int CScript::OnComSettings()
{
    const std::size_t colon = m_strLine.find(':');
    if (colon == std::string::npos)
        return SCRIPT_ERROR;
    const std::string tail = m_strLine.substr(colon + 1);
    const std::size_t comma = tail.find(',');
    if (comma == std::string::npos || comma < 2)
        return SCRIPT_ERROR;
    const long baud = ParseLong(std::string_view(tail).substr(0, comma));
    const auto rate = std::find(kComRates.begin(), kComRates.end(), baud);
    if (rate == kComRates.end())
        return SCRIPT_ERROR;
    const std::string settings = tail.size() > 7 ? tail.substr(tail.size() - 7) : tail;
    const char parity = UpperCase(settings[0]);
    if (parity != 'E' && parity != 'N' && parity != 'O')
        return SCRIPT_ERROR;
    const long stopBits = settings.size() > 4 ? ParseLong(settings.substr(4, 1)) : 0;
    if (stopBits != 1 && stopBits != 2)
        return SCRIPT_ERROR;

    // The connection keeps what the line now runs at, so a reconnect agrees.
    PortConfig& config = m_pConnection->LineSettings();
    config.m_nBaud = static_cast<std::int32_t>(rate - kComRates.begin());
    config.m_nParity = parity == 'E' ? 0 : parity == 'O' ? 1 : 2;
    config.m_nStopBits = stopBits == 2 ? 2 : 0;
    const auto stop = static_cast<std::uint8_t>(stopBits);
    if (m_pPort->IsOpen()) {
        m_pPort->SetComm(static_cast<std::uint32_t>(baud), parity, stop, 8);
    } else {
        const int comNumber = m_pPort->ComPort() ? m_pPort->ComPort() : config.m_nPort + 1;
        m_pPort->SetParams(m_pConnection->ReceivedBytesSink(), static_cast<std::uint8_t>(comNumber),
                           static_cast<std::uint32_t>(baud), parity, stop, 8, 4096, 128);
        m_pPort->Open();
    }
    m_pConnection->SavePortConfig();
    return SCRIPT_CONTINUE;
}

int CScript::OnDelay()
{
    std::string argument = m_strLine.size() > 2 ? m_strLine.substr(2) : std::string();
    long seconds = ParseLong(argument);
    double milliseconds = (ParseDouble(argument) - static_cast<double>(seconds)) * 1000;
    int result = Wait(ClampToInt(static_cast<double>(seconds)), ClampToInt(milliseconds));
    return result == platform::PUMP_QUIT ? SCRIPT_ABORT : SCRIPT_CONTINUE;
}

int CScript::OnSetEol()
{
    std::string digits;
    for (char ch : Argument()) {
        if (ch != ' ')
            digits += ch;
    }
    g_strEol.clear();
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        g_strEol += static_cast<char>(HexToInt(std::string_view(digits).substr(i, 2)) & 0xFF);
    return SCRIPT_CONTINUE;
}

int CScript::OnFindInstrument()
{
    m_pConnection->DetectInstrumentForScript([this] { Wait(1, 0); });
    return SCRIPT_CONTINUE;
}

int CScript::OnLog()
{
    const std::string text = WithoutLineEnd(m_strLine);
    CBaseFile& logFile = m_pConnection->LogFile();
    if (logFile.IsOpen()) {
        if (text.size() == 2) {
            Wait(1, 0);
            m_pConnection->PostFrameCommand(ID_FILE_LOG, true);
            return SCRIPT_CONTINUE;
        }
        if (m_pConnection->IsLogging())
            m_pConnection->StartStopLogging();
        else
            logFile.Close();
    }
    const std::string name = text.size() > 2 ? text.substr(2) : std::string();
    if (name.empty()) {
        m_pConnection->PostFrameCommand(ID_FILE_LOG, true);
        return SCRIPT_CONTINUE;
    }
    m_pConnection->SetLogPath(name);
    const std::string path = m_pConnection->GetLogPath();
    const bool append = m_chCommand == 'l';
    if (OpenLogFile(logFile, path, !append) != S_OK) {
        platform::ShowMessage(platform::Format("Could not open file for logging: %s", path.c_str()));
        if (!append)
            m_pConnection->PostFrameCommand(ID_FILE_LOG, true);
        return SCRIPT_CONTINUE;
    }
    m_pConnection->SetLogging(true);
    return SCRIPT_CONTINUE;
}

int CScript::OnSendChecksum()
{
    SendBytes(CCommandBytes::BinaryCommand(Argument()));
    return SCRIPT_CONTINUE;
}

int CScript::OnPrint()
{
    std::string text = "[" + Argument() + "]\r\n";
    if (!m_bPrinted)
        text.insert(0, kLineEnd);
    m_bPrinted = true;
    m_pConnection->ShowText(text);
    return SCRIPT_CONTINUE;
}

int CScript::OnRepeat()
{
    return SCRIPT_REPEAT;
}

int CScript::OnNoOp()
{
    return SCRIPT_CONTINUE;
}

int CScript::OnSendHex()
{
    SendBytes(CCommandBytes::HexBytes(Argument()));
    return SCRIPT_CONTINUE;
}

int CScript::OnSetClock()
{
    if (!m_pPort->IsOpen())
        return SCRIPT_CONTINUE;
    // Leave near the start of a second: the instrument sets whole seconds.
    const std::string command = ClockCommand(CCommandBytes::StartOfSecond(), m_pConnection->LineSettings().m_nDeviceType);
    m_pPort->Write(command.data(), static_cast<std::uint32_t>(command.size()));
    return SCRIPT_CONTINUE;
}

int CScript::OnSendText()
{
    SendBytes(Argument() + kLineEnd);
    return SCRIPT_CONTINUE;
}

int CScript::OnWait()
{
    if (m_bPromptSeen) {
        m_bPromptSeen = false;
        return SCRIPT_CONTINUE;
    }
    const std::string text = WithoutLineEnd(m_strLine);
    int awaited = 0;
    if (text.size() > 4 && text[2] == '"' && text[4] == '"') {
        awaited = static_cast<unsigned char>(text[3]);
    } else if (text.size() == 3 && text[2] == '"') {
        return SCRIPT_ERROR;
    } else {
        if (text.size() < 4)
            return SCRIPT_CONTINUE;
        long code = ParseLong(text.substr(2, 2));
        if (code < 1 || code > 255)
            return SCRIPT_CONTINUE;
        awaited = static_cast<int>(code);
    }
    long seconds = 0;
    if (std::size_t comma = text.find(','); comma != std::string::npos && comma >= 3)
        seconds = std::max(0L, ParseLong(std::string_view(text).substr(comma + 1)));
    const bool limited = seconds > 0;
    const auto deadline = Clock::now() + std::chrono::seconds(std::min(seconds, static_cast<long>(kMaxWaitSeconds)));
    for (;;) {
        unsigned char byte = 0;
        std::uint32_t count = 0;
        do {
            // A closed port never brings the character: the run cannot go on.
            if (m_pPort->Read(&byte, 1, &count) == E_FAIL)
                return SCRIPT_ERROR;
            if (count == 1 && byte == awaited) {
                m_bPromptSeen = true;
                return SCRIPT_CONTINUE;
            }
        } while (count == 1);
        if (PumpMessages() == platform::PUMP_QUIT)
            return SCRIPT_ABORT;
        if (limited && Clock::now() >= deadline)
            return SCRIPT_CONTINUE;
    }
}

int CScript::OnExit()
{
    m_pConnection->PostFrameCommand(ID_APP_EXIT, false);
    return SCRIPT_CONTINUE;
}
