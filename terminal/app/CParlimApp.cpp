#include "CParlimApp.h"

#include "CAboutDlg.h"
#include "CParlimDoc.h"
#include "CParlimMF.h"
#include "CSettingsSheets.h"
#include "CScriptHandOver.h"
#include "CScriptLauncher.h"
#include "CShellRegistration.h"
#include "Format.h"
#include "Messages.h"
#include "PortProbe.h"
#include "Settings.h"
#include "resource.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

using namespace parlim;

namespace {

constexpr const char* kComPrefix = "COM";
constexpr std::size_t kMaxComDigits = 3;

std::string OrderToken(int comNumber)
{
    return platform::Format("COM%02d ", comNumber);
}

// COM numbers of the "Order" text in list order, at most one per slot.
std::vector<int> ParseOrder(const std::string& order)
{
    std::vector<int> numbers;
    std::size_t position = 0;
    while (numbers.size() < kPortSlotCount) {
        std::size_t found = order.find(kComPrefix, position);
        if (found == std::string::npos)
            break;
        std::size_t digits = found + 3;
        std::size_t end = digits;
        while (end < order.size() && end - digits < kMaxComDigits
               && std::isdigit(static_cast<unsigned char>(order[end])))
            ++end;
        int number = end > digits ? std::stoi(order.substr(digits, end - digits)) : 0;
        if (number > 0 && number <= kMaxComNumber)
            numbers.push_back(number);
        position = end;
    }
    return numbers;
}

} // namespace

CParlimApp::CParlimApp()
{
    BuildCommandTable();
}

CParlimApp::~CParlimApp()
{
    m_handOver.reset();
    m_pMainWnd.reset();
    // A start that handed its script over never touched the settings.
    if (m_bSettingsLoaded)
        SavePortSettings();
}

bool CParlimApp::InitInstance(const std::vector<std::string>& parameters)
{
    m_cmdInfo.ParseCommandLine(parameters);
    const CScriptHandOver::Outcome handOver = HandOverScript();
    if (handOver != CScriptHandOver::Outcome::NoInstance) {
        m_nExitCode = handOver == CScriptHandOver::Outcome::Accepted ? 0 : 1;
        return false;
    }
    if (m_bDisplayMissing) {
        std::fprintf(stderr, "%s: no display.\n", platform::ProgramName().c_str());
        m_nExitCode = 1;
        return false;
    }
    m_bSettingsLoaded = true;
    LoadPortSettings();
    // A hand-over left by an instance that ended before taking it up must
    // not run by surprise at the next F2.
    platform::WriteProfileString(kSectionSettings, kValueOutsideScriptPath, "");
    m_pMainWnd = std::make_unique<CParlimMF>(*this);
    RegisterScriptFileType();

    std::string order = platform::GetProfileString(kSectionSettings, kValueOrder);
    platform::WriteProfileString(kSectionSettings, kValueOrder, "");
    int connections = RestoreOpenPorts(order);
    for (int i = 0; i < connections; ++i)
        m_pMainWnd->PostCommand(nullptr, ID_FILE_NEW);

    m_handOver = std::make_unique<CScriptHandOver>();
    m_handOver->Listen([this](const std::string& path) { return AcceptHandedOverScript(path); });
    m_pMainWnd->show();
    return true;
}

void CParlimApp::ExitInstance()
{
    m_bExiting = true;
}

CScriptHandOver::Outcome CParlimApp::HandOverScript()
{
    if (m_cmdInfo.m_strScriptFile.empty())
        return CScriptHandOver::Outcome::NoInstance;
    return CScriptHandOver::HandOver(m_cmdInfo.m_strScriptFile);
}

bool CParlimApp::AcceptHandedOverScript(const std::string& path)
{
    CParlimDoc* document = m_pMainWnd ? m_pMainWnd->ActiveDocument() : nullptr;
    const std::string message = document ? CScriptLauncher(*document).TakeUpHandOver(path)
                                         : platform::Format(kHandOverWithoutWindow, path.c_str());
    if (message.empty()) {
        m_pMainWnd->BringToFront();
        return true;
    }
    CScriptLauncher::TellRefusal(message);
    return false;
}

void CParlimApp::OnAppExit()
{
    m_bExiting = true;
    if (m_pMainWnd)
        m_pMainWnd->close();
}

void CParlimApp::OnQuitSignal()
{
    if (!m_pMainWnd)
        return;
    // An exit under way ends by itself, every wait in it being bounded; the
    // signal only closes a window that opened since.
    if (m_bExiting) {
        m_pMainWnd->CloseOtherWindows();
        return;
    }
    OnAppExit();
}

void CParlimApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd.get());
    about.exec();
}

void CParlimApp::OnFileNew()
{
    if (m_pMainWnd)
        m_pMainWnd->OpenConnection();
}

void CParlimApp::BuildCommandTable()
{
    m_commands.Add(ID_FILE_NEW, [this] { OnFileNew(); });
    m_commands.Add(ID_APP_ABOUT, [this] { OnAppAbout(); });
    m_commands.Add(ID_APP_EXIT, [this] { OnAppExit(); });
}

void CParlimApp::LoadPortSettings()
{
    std::vector<std::uint8_t> config = platform::GetProfileBinary(kSectionPortSettings, kValueConfig);
    if (!config.empty() && config.size() <= static_cast<std::size_t>(kPortTableBytes)) {
        m_SavedPortSettings = DeserialisePortTable(config);
        m_settings.m_PortSettings[0] = m_SavedPortSettings[0];
    }
    m_settings.m_bSendCK = platform::GetProfileInt(kSectionSettings, kValueSendCK, 1) != 0;
    m_settings.m_bSoftwareBreak = platform::GetProfileInt(kSectionSettings, kValueSoftwareBreak, 0) != 0;
    m_settings.m_bEcho = platform::GetProfileInt(kSectionSettings, kValueEcho, 1) == 1;
    m_settings.m_nPromptWait = platform::GetProfileInt(kSectionSettings, kValuePromptWait, 0);
}

void CParlimApp::SavePortSettings()
{
    platform::WriteProfileBinary(kSectionPortSettings, kValueConfig, SerialisePortTable(m_settings.m_PortSettings));
    if (!platform::SyncProfile())
        return;
    platform::WriteProfileInt(kSectionSettings, kValueSendCK, m_settings.m_bSendCK ? 1 : 0);
    platform::WriteProfileInt(kSectionSettings, kValueSoftwareBreak, m_settings.m_bSoftwareBreak ? 1 : 0);
    platform::WriteProfileInt(kSectionSettings, kValueEcho, m_settings.m_bEcho ? 1 : 0);
    platform::WriteProfileInt(kSectionSettings, kValuePromptWait, m_settings.m_nPromptWait);
    platform::SyncProfile();
}

void CParlimApp::UpdateOpenPortOrder(int comNumber, bool add)
{
    std::string order = platform::GetProfileString(kSectionSettings, kValueOrder);
    const std::string token = OrderToken(comNumber);
    std::size_t found = order.find(token);
    if (found != std::string::npos)
        order.erase(found, token.size());
    else if (!add)
        return;
    if (add)
        order += token;
    platform::WriteProfileString(kSectionSettings, kValueOrder, order);
}

int CParlimApp::RestoreOpenPorts(const std::string& order)
{
    const std::vector<int> ports = ParseOrder(order);
    std::vector<bool> used(ports.size(), false);
    for (std::size_t i = 0; i < ports.size(); ++i)
        used[i] = !PortProbe::CanOpen(ports[i]);

    auto savedSlotFor = [this](int comNumber, bool connectOnStartupOnly) -> const CPortSettings* {
        for (const CPortSettings& slot : m_SavedPortSettings) {
            if (slot.m_nPort == comNumber - 1 && (!connectOnStartupOnly || slot.m_bConnectOnStartup))
                return &slot;
        }
        return nullptr;
    };

    int nextSlot = 0;
    int count = 0;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const CPortSettings* saved = used[i] ? nullptr : savedSlotFor(ports[i], true);
        if (saved && nextSlot < kPortSlotCount) {
            m_settings.m_PortSettings[nextSlot++] = *saved;
            used[i] = true;
            ++count;
        }
    }
    // The ports still unused passed the probe above; probing again would reopen them.
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (used[i])
            continue;
        const CPortSettings* saved = savedSlotFor(ports[i], false);
        if (saved && nextSlot < kPortSlotCount)
            m_settings.m_PortSettings[nextSlot++] = *saved;
    }
    return std::max(count, 1);
}

void CParlimApp::RegisterScriptFileType()
{
    QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return;
    CShellRegistration(dataHome.toStdString())
        .Register(QCoreApplication::applicationFilePath().toStdString());
}

QWidget* CParlimApp::MainWindow() const
{
    return m_pMainWnd.get();
}

void CParlimApp::CountConnection()
{
    if (m_nConnections < kPortSlotCount)
        ++m_nConnections;
}

std::string CParlimApp::TakeStartScript()
{
    return std::exchange(m_cmdInfo.m_strScriptFile, std::string());
}

void CParlimApp::PostCommand(CParlimDoc* document, int commandId)
{
    if (m_pMainWnd)
        m_pMainWnd->PostCommand(document, commandId);
}

void CParlimApp::DispatchCommand(CParlimDoc& document, int commandId)
{
    if (m_pMainWnd)
        CommandRouter::Dispatch(m_pMainWnd->ChainFor(&document), commandId);
    else
        CommandRouter::Dispatch({&document.Commands()}, commandId);
}

bool CParlimApp::BlinkPhase() const
{
    return m_pMainWnd && m_pMainWnd->m_bBlink;
}

void CParlimApp::UpdateBreakPicture()
{
    if (m_pMainWnd)
        m_pMainWnd->ShowBreakPicture(m_settings.m_bSoftwareBreak);
}

bool CParlimApp::RunConnectWizard(CParlimDoc& document)
{
    return CSettingsSheets::RunConnectWizard(m_settings, document, m_pMainWnd.get());
}

void CParlimApp::EditConnectionProperties(CParlimDoc& document)
{
    CSettingsSheets::EditConnectionProperties(m_settings, document, m_pMainWnd.get());
}

void CParlimApp::EditOptions()
{
    CSettingsSheets::EditOptions(m_settings, m_pMainWnd.get());
}
