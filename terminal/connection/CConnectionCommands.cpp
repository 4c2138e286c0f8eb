#include "CConnectionCommands.h"

#include "CCommandBytes.h"
#include "CNbCmdDG.h"
#include "CParlimDoc.h"
#include "CScript.h"
#include "CSendBytesDlg.h"
#include "IConnectionHost.h"
#include "MessagePump.h"
#include "Messages.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

constexpr int kPacingMs = 100;

void WriteAll(CSerialPort& port, const std::string& bytes)
{
    port.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}

} // namespace

CConnectionCommands::CConnectionCommands(CParlimDoc& document) : m_doc(document) {}

QWidget* CConnectionCommands::DialogParent() const
{
    return m_doc.DialogParent();
}

void CConnectionCommands::PcTimeToAdcp()
{
    if (!m_doc.IsConnected())
        return;
    const std::tm local = CCommandBytes::StartOfSecond();
    const int deviceType = m_doc.GetDeviceType();
    const std::string command = CScript::ClockCommand(local, deviceType);
    if (deviceType == CParlimDoc::kGlissom)
        WritePaced(command.data(), command.size());
    else
        WriteAll(m_doc.Port(), command);
}

void CConnectionCommands::WritePaced(const char* bytes, std::size_t count)
{
    CParlimDoc::BusyScope busy(m_doc);
    for (std::size_t index = 0; index < count; ++index) {
        m_doc.Port().Write(bytes + index, 1);
        platform::WaitWithMessages(0, kPacingMs);
    }
}

void CConnectionCommands::SendBinaryCommand()
{
    CNbCmdDG dialog(DialogParent());
    if (dialog.DoModal() != platform::IDOK)
        return;
    const QByteArray text = dialog.GetCommand().toLatin1();
    WriteAll(m_doc.Port(), CCommandBytes::BinaryCommand(std::string_view(text.constData(), text.size())));
}

void CConnectionCommands::SendBytes()
{
    CSendBytesDlg dialog(DialogParent());
    if (dialog.DoModal() != platform::IDOK)
        return;
    const QByteArray text = dialog.GetCommand().toLatin1();
    WriteAll(m_doc.Port(), CCommandBytes::HexBytes(std::string_view(text.constData(), text.size())));
}

void CConnectionCommands::Paste()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return;
    const QByteArray text = clipboard->text().toUtf8();
    if (!text.isEmpty() && m_doc.IsConnected())
        m_doc.Port().Write(text.constData(), static_cast<std::uint32_t>(text.size()));
}

void CConnectionCommands::Properties()
{
    m_doc.SavePortConfig();
    m_doc.Host().EditConnectionProperties(m_doc);
    m_doc.LoadPortConfig();
    if (m_doc.IsConnected())
        m_doc.ApplyPortSettings();
    else
        m_doc.ListPortInOrder(m_doc.LineSettings().m_nPort + 1);
}

void CConnectionCommands::Options()
{
    m_doc.SavePortConfig();
    m_doc.Host().EditOptions();
    m_doc.LoadPortConfig();
}
