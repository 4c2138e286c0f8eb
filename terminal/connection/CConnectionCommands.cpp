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
    CNbCmdDG dialog(m_dialogParent);
    if (dialog.DoModal() != platform::IDOK)
        return;
    const QByteArray text = dialog.GetCommand().toLatin1();
    WriteAll(m_line.Port(), CCommandBytes::BinaryCommand(std::string_view(text.constData(), text.size())));
}

void CConnectionCommands::SendBytes()
{
    CSendBytesDlg dialog(m_dialogParent);
    if (dialog.DoModal() != platform::IDOK)
        return;
    const QByteArray text = dialog.GetCommand().toLatin1();
    WriteAll(m_line.Port(), CCommandBytes::HexBytes(std::string_view(text.constData(), text.size())));
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
