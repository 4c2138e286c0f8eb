#include "CYModem.h"

#include "CCrc16.h"
#include "CSerialPort.h"
#include "Format.h"
#include "IYModemPort.h"
#include "LeadingDecimal.h"
#include "MessagePump.h"
#include "Messages.h"
#include "MiddleElided.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

namespace {
constexpr int kTries = 10;
constexpr std::uint16_t kHeaderByteSeconds = 10;
// A header request unanswered for this long is asked again, so the ten
// tries of the header phase stay within the header byte's time-out.
constexpr std::uint16_t kHeaderTrySeconds = 1;
constexpr std::uint16_t kBlockNumberSeconds = 2;
constexpr std::uint16_t kDataSeconds = 10;
constexpr std::uint16_t kCrcSeconds = 2;
constexpr int kRequestPauseMs = 500;
constexpr int kAbortSettleSeconds = 2;
// A sender that never falls quiet or never prompts cannot hold the abort longer.
constexpr std::chrono::seconds kAbortDrainLimit(60);
constexpr int kBreakPauseSeconds = 3;
constexpr std::uint32_t kBreakMilliseconds = 400;
constexpr char kPrompt[] = "Return code = 15\r\n\r\n>";
constexpr char kSoftwareBreak[] = "======";

constexpr char kLineLost[] = "The line was lost.";
constexpr char kSenderCancelled[] = "The instrument cancelled the transfer.";
constexpr char kTooManyErrors[] = "Too many errors on one block.";
constexpr char kNoAnswer[] = "No answer came in time.";
constexpr char kOutOfOrder[] = "A block came out of order.";
constexpr char kNotABlock[] = "The instrument sent something that is not a block.";
constexpr char kEndedEarly[] = "The file ended before its announced size.";

// Decimal digits at the start of the text; -1 when there are none or they
// do not fit.
std::int64_t LeadingSize(const std::uint8_t* text, std::size_t length)
{
    const LeadingDecimal number = ReadLeadingDecimal(std::string_view(reinterpret_cast<const char*>(text), length));
    return number.fits && number.digits > 0 ? number.value : -1;
}

std::string WriteProblem(const std::string& shownPath, const std::string& reason)
{
    return platform::Format("Problems with writing to file %s: %s.", shownPath.c_str(), reason.c_str());
}
} // namespace

CYModem::CYModem(IYModemPort* port, std::string downloadDir)
    : m_pPort(port), m_strDownloadDir(std::move(downloadDir))
{
    if (!m_strDownloadDir.empty() && m_strDownloadDir.back() != '/')
        m_strDownloadDir += '/';
}

CYModem::~CYModem()
{
    KeepReceivedBytes();
}

HRESULT CYModem::Send(const void* bytes, std::uint32_t n)
{
    return m_pPort->Write(bytes, n);
}

void CYModem::SendByte(std::uint8_t byte)
{
    Send(&byte, 1);
}

HRESULT CYModem::ReadBytes(void* buffer, std::uint32_t n, std::uint16_t seconds)
{
    if (n == 0)
        return 0;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    std::uint32_t have = 0;
    while (have < n) {
        std::uint32_t count = 0;
        if (m_pPort->Read(bytes + have, n - have, &count) == E_FAIL) {
            m_bLineLost = true;
            return E_FAIL;
        }
        have += count;
        if (count == 0) {
            if (Clock::now() >= deadline)
                return E_FAIL;
            if (m_pPort->Pump() == platform::PUMP_QUIT)
                m_bClosing = true;
        }
        if (Cancelled())
            return 1;
    }
    return 0;
}

bool CYModem::Packet::IsIntact() const
{
    if (block + complement != 255)
        return false;
    const unsigned crc = crcHigh * 256u + crcLow;
    return crc == CCrc16::Compute(Data(), DataSize());
}

CYModem::TryResult CYModem::ReadBlockBody(Packet& packet)
{
    std::uint8_t number[2] = {};
    std::uint8_t crc[2] = {};
    HRESULT result = ReadBytes(number, 2, kBlockNumberSeconds);
    if (result == 0)
        result = ReadBytes(packet.data, packet.DataSize(), kDataSeconds);
    if (result == 0)
        result = ReadBytes(crc, 2, kCrcSeconds);
    if (result == 1)
        return TryResult::Cancelled;
    if (result != 0)
        return m_bLineLost ? TryResult::LineLost : TryResult::Failed;
    packet.block = number[0];
    packet.complement = number[1];
    packet.crcHigh = crc[0];
    packet.crcLow = crc[1];
    return TryResult::Good;
}

HRESULT CYModem::Packet::ReceivePacket(CYModem& modem, bool headerPhase)
{
    if (headerPhase) {
        expected = 0;
        modem.m_bHavePrevious = false;
    }
    const std::uint16_t headerSeconds = headerPhase ? kHeaderTrySeconds : kHeaderByteSeconds;
    // A whole block or an EOT came: a block that stops midway is no answer.
    bool answered = false;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        if (modem.Cancelled())
            return 1;
        HRESULT result = modem.ReadBytes(&header, 1, headerSeconds);
        TryResult body = TryResult::Failed;
        if (result == 1)
            return 1;
        if (result == 0) {
            if (header == EOT && headerPhase) {
                answered = true;
                // The sender missed the answer to its end of file.
                modem.SendByte(ACK);
                modem.AskAgain(true);
                continue;
            }
            if (header == EOT)
                return 0;
            if (header != SOH && header != STX) {
                modem.m_pszReason = header == CAN ? kSenderCancelled : kNotABlock;
                return E_FAIL;
            }
            body = modem.ReadBlockBody(*this);
            answered = answered || body == TryResult::Good;
        } else if (modem.m_bLineLost) {
            body = TryResult::LineLost;
        }
        if (body == TryResult::Cancelled)
            return 1;
        if (body == TryResult::LineLost) {
            modem.m_pszReason = kLineLost;
            return E_FAIL;
        }
        if (body == TryResult::Good && IsIntact()) {
            if (block == expected) {
                expected = static_cast<std::uint8_t>(expected + 1);
                modem.m_bHavePrevious = true;
                modem.m_bPreviousIsHeader = headerPhase;
                return 0;
            }
            // The sender missed our answer and sent the same block again.
            if (modem.m_bHavePrevious && block == static_cast<std::uint8_t>(expected - 1)) {
                modem.TakeRepeat();
                continue;
            }
            modem.m_pszReason = kOutOfOrder;
            modem.Abort();
            return E_FAIL;
        }
        // A damaged, incomplete or missing block: what is left of it is dropped.
        modem.m_pPort->FlushInput();
        modem.AskAgain(headerPhase);
    }
    modem.m_pszReason = answered ? kTooManyErrors : kNoAnswer;
    return E_FAIL;
}

void CYModem::AskAgain(bool headerPhase)
{
    // A sender waiting for a header takes NAK as a request for checksum blocks.
    if (headerPhase)
        SendByte(CRC_REQUEST);
    else
        SendNak();
}

void CYModem::TakeRepeat()
{
    SendByte(ACK);
    // The sender of a repeated header waits for the request of its data again.
    if (m_bPreviousIsHeader)
        SendByte(CRC_REQUEST);
}

HRESULT CYModem::Abort()
{
    m_bAborted = true;
    if (!m_pPort->Purge(PURGE_TXCLEAR | PURGE_RXCLEAR))
        return E_FAIL;
    const std::uint8_t cancel[2] = {CAN, CAN};
    HRESULT result = Send(cancel, 2);
    if (result != 0)
        return result;
    if (Cancelled())
        return 1;
    m_pPort->Wait(kAbortSettleSeconds, 0);
    const auto deadline = std::chrono::steady_clock::now() + kAbortDrainLimit;
    int quiet = 0;
    while (quiet < 2) {
        if (std::chrono::steady_clock::now() >= deadline)
            return E_FAIL;
        std::uint8_t byte = 0;
        result = ReadBytes(&byte, 1, 1);
        quiet = (result != 0 || byte == CAN) ? quiet + 1 : 0;
    }
    // Only the last bytes can end in the prompt: keep no more of them.
    const std::string prompt(kPrompt);
    std::string tail;
    for (;;) {
        if (std::chrono::steady_clock::now() >= deadline)
            return E_FAIL;
        char byte = 0;
        result = ReadBytes(&byte, 1, 1);
        if (result != 0)
            return result;
        tail += byte;
        if (tail.size() > prompt.size())
            tail.erase(0, tail.size() - prompt.size());
        if (tail == prompt)
            return 0;
    }
}

bool CYModem::Begin()
{
    m_pPort->FlushInput();
    return true;
}

bool CYModem::TakeHeaderName(const std::uint8_t* area, std::uint32_t size)
{
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(area, 0, size));
    if (end == nullptr) {
        m_strFailure = "The file header holds no valid file name.";
        return false;
    }
    std::string name(reinterpret_cast<const char*>(area), static_cast<std::size_t>(end - area));
    std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    // Control characters would stay hidden in the window and the messages.
    for (char& byte : name)
        if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F)
            byte = '_';
    if (name.empty() || name == "." || name == ".." || name.size() > kMaxNameLength) {
        m_strFailure = platform::Format("The file header holds no valid file name: %s", MiddleElided(name).c_str());
        return false;
    }
    m_strFileName = name;
    m_nFileSize = LeadingSize(end + 1, static_cast<std::size_t>(area + size - (end + 1)));
    return true;
}

HRESULT CYModem::OnFileHeader()
{
    m_strFileName.clear();
    m_nFileSize = 0;
    m_nFileWritten = 0;
    if (!TakeHeaderName(m_packet.Data(), m_packet.DataSize()))
        return E_FAIL;
    HRESULT result = m_outFile.Create(m_strDownloadDir, m_strFileName);
    if (result != 0)
        m_strFailure = platform::Format("Cannot create file %s.", ShownPath(m_strFileName).c_str());
    return result;
}

bool CYModem::IsWhole() const
{
    return m_nFileSize < 0 || m_nFileWritten >= m_nFileSize;
}

bool CYModem::TakeFinalName()
{
    m_strLostReason = m_outFile.LostReason();
    if (!m_strLostReason.empty()) {
        Fail(RecoveryFailed());
        return false;
    }
    // Bytes the system could not put on disk stay under the partial name;
    // the notice gives the system's reason.
    if (!m_outFile.SyncAndClose().empty()) {
        Fail(RecoveryFailed());
        return false;
    }
    std::string reason = m_outFile.TakeName();
    if (!reason.empty()) {
        m_bArrivedWhole = true;
        m_strFailure = platform::Format("%s arrived whole (%lld bytes) but cannot take its name: %s.",
                                        MiddleElided(m_strFileName).c_str(), static_cast<long long>(m_nFileWritten),
                                        reason.c_str());
        return false;
    }
    reason = m_outFile.SyncFolder();
    if (reason.empty())
        return true;
    m_strFailure = WriteProblem(ShownPath(m_strFileName), reason) +
                   "\r\nThe file has its name, but a power cut may still undo that.";
    return false;
}

void CYModem::KeepReceivedBytes()
{
    if (!m_outFile.IsPending())
        return;
    const bool anyBytes = m_nFileWritten > 0 || m_bArrivedWhole;
    if (anyBytes && m_strLostReason.empty())
        m_strLostReason = m_outFile.LostReason();
    m_strKeptName = m_outFile.Keep(anyBytes);
    m_strKeepFailure = m_outFile.SyncFailure();
}

std::string CYModem::ShownPath(const std::string& name) const
{
    return m_strDownloadDir + MiddleElided(name);
}

HRESULT CYModem::WriteData()
{
    std::int64_t count = m_packet.DataSize();
    if (m_nFileSize >= 0 && m_nFileSize - m_nFileWritten < count)
        count = std::max<std::int64_t>(0, m_nFileSize - m_nFileWritten);
    std::string reason;
    HRESULT result = m_outFile.Write(m_packet.Data(), static_cast<std::uint32_t>(count), reason);
    if (result != 0) {
        m_strFailure = WriteProblem(ShownPath(m_strFileName), reason);
        return result;
    }
    m_nFileWritten += count;
    m_nTotalReceived += count;
    return 0;
}

void CYModem::CloseFile()
{
    m_outFile.Close();
}

void CYModem::OnComplete()
{
}

void CYModem::SendNak()
{
    SendByte(NAK);
}

bool CYModem::IsCancelled()
{
    return false;
}

bool CYModem::Cancelled()
{
    return m_bClosing || IsCancelled();
}

HRESULT CYModem::RequestHeader()
{
    m_pPort->FlushInput();
    m_pPort->Wait(0, kRequestPauseMs);
    SendByte(CRC_REQUEST);
    m_pPort->Wait(0, kRequestPauseMs);
    return m_packet.ReceivePacket(*this, true);
}

CYModem::Outcome CYModem::Fail(std::string message)
{
    if (m_strFailure.empty())
        m_strFailure = std::move(message);
    return Outcome::Failed;
}

CYModem::Outcome CYModem::ReceiveFile()
{
    for (;;) {
        HRESULT result = m_packet.ReceivePacket(*this, false);
        if (result == 1)
            return Outcome::Cancelled;
        if (result != 0)
            return Fail(RecoveryFailed());
        if (m_packet.header == EOT) {
            if (!IsWhole()) {
                m_pszReason = kEndedEarly;
                return Fail(RecoveryFailed());
            }
            if (!TakeFinalName())
                return Outcome::Failed;
            CloseFile();
            SendByte(ACK);
            m_strLastFile = m_strFileName;
            return Outcome::Complete;
        }
        if (Cancelled())
            return Outcome::Cancelled;
        if (WriteData() != 0)
            return Outcome::Failed;
        // The next block's first step looks for a cancel.
        SendByte(ACK);
    }
}

CYModem::Outcome CYModem::RunBatch()
{
    HRESULT result = RequestHeader();
    for (;;) {
        if (result == 1 || Cancelled())
            return Outcome::Cancelled;
        if (result != 0) {
            std::string message = m_strLastFile.empty()
                                      ? std::string("The recovery failed: no file header came from the instrument.")
                                      : platform::Format("The recovery stopped after %s: no further file header came.",
                                                         MiddleElided(m_strLastFile).c_str());
            // "No answer" would only repeat that no header came.
            if (m_pszReason != nullptr && m_pszReason != kNoAnswer)
                message += std::string("\r\n") + m_pszReason;
            return Fail(std::move(message));
        }
        if (m_packet.Data()[0] == 0) {
            SendByte(ACK);
            return Outcome::Complete;
        }
        if (OnFileHeader() != 0)
            return Outcome::Failed;
        SendByte(ACK);
        m_pPort->Wait(0, kRequestPauseMs);
        SendByte(CRC_REQUEST);
        Outcome outcome = ReceiveFile();
        if (outcome != Outcome::Complete)
            return outcome;
        result = RequestHeader();
    }
}

void CYModem::SendEndBreak()
{
    if (m_bSoftwareBreak)
        Send(kSoftwareBreak, sizeof kSoftwareBreak - 1);
    else
        m_pPort->SendBreak(kBreakMilliseconds);
}

void CYModem::Finish(Outcome outcome)
{
    if (outcome == Outcome::Complete) {
        OnComplete();
        return;
    }
    KeepReceivedBytes();
    if (!m_bAborted)
        Abort();
    m_pPort->Wait(kBreakPauseSeconds, 0);
    SendEndBreak();
    const std::string notice = IncompleteNotice(outcome);
    if (!notice.empty())
        platform::ShowMessage(notice, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

std::string CYModem::RecoveryFailed() const
{
    std::string message = platform::Format("The recovery of %s failed.", MiddleElided(m_strFileName).c_str());
    if (m_pszReason != nullptr)
        message += std::string("\r\n") + m_pszReason;
    return message;
}

std::string CYModem::IncompleteNotice(Outcome outcome) const
{
    if (outcome == Outcome::Cancelled && m_strKeptName.empty() && m_strLostReason.empty())
        return std::string();
    std::string notice = outcome == Outcome::Failed ? m_strFailure : std::string("The recovery was cancelled.");
    if (!m_strLostReason.empty())
        notice += "\r\nThe received bytes could not be kept: " + m_strLostReason + ".";
    else if (!m_strKeptName.empty() && !m_strKeepFailure.empty())
        notice += "\r\n" + WriteProblem(ShownPath(m_strKeptName), m_strKeepFailure);
    else if (m_bArrivedWhole)
        notice += platform::Format("\r\nIt was kept as %s.", ShownPath(m_strKeptName).c_str());
    else if (!m_strKeptName.empty())
        notice += platform::Format("\r\nThe incomplete file was kept as %s (%lld bytes).",
                                   ShownPath(m_strKeptName).c_str(), static_cast<long long>(m_nFileWritten));
    return notice;
}

void CYModem::Receive()
{
    if (!Begin())
        return;
    Finish(RunBatch());
}
