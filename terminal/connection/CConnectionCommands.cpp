#include "CConnectionCommands.h"

#include "CCommandBytes.h"
#include "CNbCmdDG.h"
#include "CScript.h"
#include "CSendBytesDlg.h"
#include "CSerialPort.h"
#include "ILineConnection.h"
#include "MessagePump.h"
#include "Messages.h"

#include <QClipboard>
#include <QGuiApplication>

#include <memory>

namespace {

constexpr int kPacingMs = 100;

void WriteAll(CSerialPort& port, const std::string& bytes)
{
    port.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

// Asks for the command's text and writes the bytes made of it; a cancel writes nothing.
template <class Dialog>
void SendTypedCommand(CSerialPort& port, QWidget* dialogParent, std::string (*toBytes)(std::string_view))
{
    Dialog dialog(dialogParent);
    if (dialog.DoModal() != platform::IDOK)
        return;
    const QByteArray text = dialog.GetCommand().toLatin1();
    WriteAll(port, toBytes(std::string_view(text.constData(), text.size())));
}

} // namespace

CConnectionCommands::CConnectionCommands(ILineConnection& line, QWidget* dialogParent)
    : m_line(line), m_dialogParent(dialogParent)
{
}

void CConnectionCommands::PcTimeToAdcp()
{
    if (!m_line.IsConnected())
        return;
    const std::tm local = CCommandBytes::StartOfSecond();
    const int deviceType = m_line.LineSettings().m_nDeviceType;
    const std::string command = CScript::ClockCommand(local, deviceType);
    if (deviceType == DeviceType::kGlissom)
        WritePaced(command.data(), command.size());
    else
        WriteAll(m_line.Port(), command);
}

void CConnectionCommands::WritePaced(const char* bytes, std::size_t count)
{
    const std::shared_ptr<void> hold = m_line.HoldWhileRunning();
    for (std::size_t index = 0; index < count; ++index) {
        m_line.Port().Write(bytes + index, 1);
        platform::WaitWithMessages(0, kPacingMs);
    }
}

void CConnectionCommands::SendBinaryCommand()
{
    SendTypedCommand<CNbCmdDG>(m_line.Port(), m_dialogParent, CCommandBytes::BinaryCommand);
}

void CConnectionCommands::SendBytes()
{
    SendTypedCommand<CSendBytesDlg>(m_line.Port(), m_dialogParent, CCommandBytes::HexBytes);
}

void CConnectionCommands::Paste()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    const QByteArray text = clipboard->text().toUtf8();
    if (!text.isEmpty() && m_line.IsConnected())
        m_line.Port().Write(text.constData(), static_cast<std::uint32_t>(text.size()));
}
