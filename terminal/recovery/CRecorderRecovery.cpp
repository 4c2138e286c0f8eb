#include "CRecorderRecovery.h"

#include "CDownloadDirectoryDlg.h"
#include "CRecoverCancel.h"
#include "LeadingDecimal.h"
#include "CSelectRecoverFiles.h"
#include "CSerialPort.h"
#include "CSerialYModemPort.h"
#include "CYModem.h"
#include "CYModemDisplay.h"
#include "Format.h"
#include "IRecoveryConnection.h"
#include "MessagePump.h"
#include "Messages.h"
#include "resource.h"

#include <QString>

#include <memory>

using namespace parlim;

namespace {
constexpr std::uint16_t kBreakPromptSeconds = 5;
constexpr std::uint16_t kReplySeconds = 10;
// Two pairs: a sender still waiting for its first request may take a lone
// pair only after a timeout of its own.
constexpr std::size_t kSenderCancelBytes = 4;

// The text after a label found past the first character, blanks before it
// dropped; empty when the label is not there.
std::string After(const std::string& reply, const std::string& label)
{
    const std::size_t at = reply.find(label);
    if (at == std::string::npos || at == 0)
        return {};
    std::string value = reply.substr(at + label.size());
    value.erase(0, value.find_first_not_of(' '));
    return value;
}

std::string CutBefore(const std::string& text, char stop)
{
    return text.substr(0, text.find(stop));
}

constexpr std::int64_t kSizeNotGiven = -1;

// The leading decimal digits; kSizeNotGiven when they do not fit.
std::int64_t LeadingDigits(const std::string& text)
{
    const LeadingDecimal number = ReadLeadingDecimal(text);
    return number.fits ? number.value : kSizeNotGiven;
}

// Megabytes with a fraction as bytes; kSizeNotGiven when that does not fit.
std::int64_t MegabytesToBytes(double megabytes)
{
    const double bytes = megabytes * 1024 * 1024;
    // 2^63 is exact in a double; NaN fails the comparison too.
    if (!(bytes >= 0 && bytes < 9223372036854775808.0))
        return kSizeNotGiven;
    return static_cast<std::int64_t>(bytes);
}

void Wait(int milliseconds)
{
    platform::WaitWithMessages(0, milliseconds);
}

void Show(int id)
{
    platform::ShowMessage(LoadResString(id), platform::MB_OK);
}
} // namespace

CRecorderRecovery::CRecorderRecovery(IRecoveryConnection& connection)
    : m_connection(connection), m_hold(connection.Port())
{
}

std::int64_t CRecorderRecovery::RecorderTotal(const std::string& reply)
{
    return LeadingDigits(CutBefore(After(reply, "Total bytes used ="), ' '));
}

std::int64_t CRecorderRecovery::LoopRecorderSize(const std::string& reply)
{
    if (reply.find("ERR") != std::string::npos)
        return -2;
    std::string value = CutBefore(After(reply, "used ="), ',');
    if (value.empty()) {
        const std::size_t at = reply.find("Used =");
        if (at != std::string::npos) {
            value = reply.substr(at + 6);
            value.erase(0, value.find_first_not_of(' '));
            const std::size_t mega = value.find('M');
            if (mega != std::string::npos) {
                // Megabytes with a fraction, read in the C locale.
                const std::string text = value.substr(0, mega);
                const std::string number = text.substr(0, text.find_first_not_of("0123456789."));
                return MegabytesToBytes(QString::fromStdString(number).toDouble());
            }
        }
    }
    if (value.empty())
        return kSizeNotGiven;
    // A reply without a page size counts pages of one byte.
    const std::string perPage = CutBefore(After(reply, "bytes/page ="), ' ');
    const std::int64_t used = LeadingDigits(value);
    const std::int64_t bytesPerPage = perPage.empty() ? 1 : LeadingDigits(perPage);
    std::int64_t bytes = 0;
    if (used < 0 || bytesPerPage < 0 || __builtin_mul_overflow(used, bytesPerPage, &bytes))
        return kSizeNotGiven;
    return bytes;
}

void CRecorderRecovery::SendCommand(const std::string& command)
{
    m_hold.Admit([&] { m_connection.Port().Write(command.data(), static_cast<std::uint32_t>(command.size())); });
}

bool CRecorderRecovery::AwaitPromptAfterBreak()
{
    std::string reply;
    m_connection.Port().FlushInput();
    m_hold.Admit([this] { m_connection.SendBreak(); });
    return m_connection.WaitForPrompt(reply, kBreakPromptSeconds);
}

bool CRecorderRecovery::Ask(const char* command, std::string& reply)
{
    m_connection.ClearReceivedText();
    m_connection.Port().FlushInput();
    SendCommand(command);
    Wait(50);
    // The reply as the prompt wait read it: the terminal window keeps only
    // the first part of a long listing.
    return m_connection.WaitForPrompt(reply, kReplySeconds);
}

std::int64_t CRecorderRecovery::PrepareRecorderDownload()
{
    std::string reply;
    if (!AwaitPromptAfterBreak() || !Ask("RR?\r", reply))
        return -3;
    if (reply.find("ERR") != std::string::npos)
        return 0;
    const std::int64_t total = RecorderTotal(reply);
    if (total == 0)
        return 0;
    CSelectRecoverFiles select(reply, m_connection.DialogParent());
    select.exec();
    // Closed with the program: the instrument is not told to send.
    if (platform::IsClosing())
        return -3;
    StartDownload(select.m_nSelected != 0 ? platform::Format("RY%d\r", select.m_nSelected) : std::string("RY\r"),
                  50);
    if (select.m_nSelected <= 0)
        return total;
    const std::uint64_t selected = select.GetSelectedSize();
    return selected <= static_cast<std::uint64_t>(INT64_MAX) ? static_cast<std::int64_t>(selected) : kSizeNotGiven;
}

std::int64_t CRecorderRecovery::QueryLoopRecorderSize()
{
    std::string reply;
    if (!AwaitPromptAfterBreak() || !Ask("MM\r", reply))
        return -3;
    return LoopRecorderSize(reply);
}

std::int64_t CRecorderRecovery::PrepareLoopRecorderDownload()
{
    const std::int64_t expected = QueryLoopRecorderSize();
    if (expected >= kSizeNotGiven) {
        m_connection.ClearReceivedText();
        StartDownload("MY\r", 100);
    }
    return expected;
}

void CRecorderRecovery::StartDownload(const std::string& command, int settleMs)
{
    Wait(100);
    m_connection.Port().FlushInput();
    SendCommand(command);
    Wait(settleMs);
}

std::int64_t CRecorderRecovery::ExpectedSize(ILineConnection::TypedWatch typed,
                                             std::int64_t (CRecorderRecovery::*prepare)())
{
    if (!m_connection.TypedSoFar(typed).empty())
        return kSizeNotGiven;
    const std::int64_t expected = (this->*prepare)();
    // A wait cut short by Exit is not the recorder's silence, and a message box
    // now would keep the ending program open with no window behind it.
    if (expected < kSizeNotGiven && !platform::IsClosing())
        Show(IDS_RECORDER_NO_CONTACT);
    return expected;
}

void CRecorderRecovery::EndTypedSender(ILineConnection::TypedWatch typed)
{
    if (m_connection.TypedSoFar(typed).empty())
        return;
    // The backspaces take back from the command line what a sender that
    // ended on the first pair left of the cancel.
    SendCommand(std::string(kSenderCancelBytes, static_cast<char>(CYModem::CAN)) +
                std::string(kSenderCancelBytes, '\b'));
}

bool CRecorderRecovery::ChooseDirectory(std::string& directory)
{
    CDownloadDirectoryDlg dialog("SCB", kSectionSettings);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The receiver ends it in a slash.
    directory = dialog.m_strDirectory;
    return true;
}

void CRecorderRecovery::RecoverRecorder()
{
    std::string directory;
    if (!ChooseDirectory(directory)) {
        EndTypedSender(ILineConnection::TypedWatch::Recorder);
        return;
    }
    const std::int64_t expected =
        ExpectedSize(ILineConnection::TypedWatch::Recorder, &CRecorderRecovery::PrepareRecorderDownload);
    if (expected < kSizeNotGiven)
        return;
    if (m_connection.ReceivedText().find("ERR") != std::string::npos) {
        const std::string type = LoadResString(IDS_DEVICE_FIRST + m_connection.LineSettings().m_nDeviceType);
        platform::ShowMessage(platform::Format(LoadResString(IDS_RECORDER_NOT_FOUND).c_str(), type.c_str()),
                              platform::MB_OK);
        return;
    }
    m_connection.TypedSoFar(ILineConnection::TypedWatch::Recorder).clear();
    Download(directory, expected);
}

void CRecorderRecovery::RecoverLoopRecorder()
{
    std::string directory;
    if (!ChooseDirectory(directory)) {
        EndTypedSender(ILineConnection::TypedWatch::LoopRecorder);
        m_connection.TypedSoFar(ILineConnection::TypedWatch::LoopRecorder).clear();
        return;
    }
    const std::int64_t expected =
        ExpectedSize(ILineConnection::TypedWatch::LoopRecorder, &CRecorderRecovery::PrepareLoopRecorderDownload);
    if (expected < kSizeNotGiven)
        return;
    if (m_connection.ReceivedText().find("ERR") != std::string::npos) {
        Show(IDS_NO_LOOP_RECORDER);
        m_connection.TypedSoFar(ILineConnection::TypedWatch::LoopRecorder).clear();
        return;
    }
    m_connection.TypedSoFar(ILineConnection::TypedWatch::LoopRecorder).clear();
    m_connection.TypedSoFar(ILineConnection::TypedWatch::Recorder).clear();
    Download(directory, expected);
}

void CRecorderRecovery::Download(const std::string& directory, std::int64_t expected)
{
    QWidget* mainWindow = m_connection.DialogParent();
    CRecoverCancel progress(&m_connection.Port());
    if (progress.Create(mainWindow)) {
        CSerialYModemPort line(m_connection.Port(), m_hold);
        CYModemDisplay modem(&line, directory, expected, &progress);
        modem.m_bSoftwareBreak = m_connection.UsesSoftwareBreak();
        m_connection.SetRunningTransfer(&modem);
        // The connection never keeps the transfer past its end, however it ends.
        const std::shared_ptr<void> running(nullptr, [this](void*) { m_connection.SetRunningTransfer(nullptr); });
        modem.Receive();
    }
    m_connection.Port().m_bDeliver = true;
}
