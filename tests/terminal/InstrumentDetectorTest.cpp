#include "CProcessDlg.h"
#include "CPropPort.h"
#include "ConnectedTerminal.h"

#include <QApplication>
#include <QPushButton>
#include <QComboBox>

#include <vector>

namespace {

using namespace std::chrono_literals;

const std::string kBanner = "\r\nHalvorn Pemberlin Profiler\r\nReady\r\n>";
const std::vector<std::uint32_t> kPlainOrder = {9600, 19200, 38400, 57600, 115200, 4800, 2400, 1200};

class InstrumentDetection : public ConnectedTerminal {
protected:
    // The instrument answers a break only at its own rate; at 9600 it may
    // send a byte of its own choosing instead.
    void InstrumentAt(std::uint32_t rate, std::string at9600 = "")
    {
        m_instrument.AnswerBreaks(m_pty.SlavePath(), [rate, at9600](std::uint32_t lineRate) -> std::string {
            if (lineRate == rate)
                return kBanner;
            return lineRate == 9600 ? at9600 : "";
        });
    }

    std::unique_ptr<CPropPort> ShowPortPage()
    {
        auto page = std::make_unique<CPropPort>(m_app->Settings(), m_doc);
        page->m_bShowDetect = true;
        page->EnsureInitialised();
        page->show();
        return page;
    }

    static QComboBox* Combo(QWidget* page, int id) { return page->findChild<QComboBox*>(QString::number(id)); }
    static QPushButton* DetectButton(QWidget* page)
    {
        return page->findChild<QPushButton*>(QString::number(IDC_AUTO_DETECT));
    }

    static CProcessDlg* ProgressDialog()
    {
        for (QWidget* widget : QApplication::allWidgets()) {
            if (auto* dialog = qobject_cast<CProcessDlg*>(widget); dialog && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(InstrumentDetection, PageFindsTheInstrumentAt9600AndTheConnectionKeepsTheRate)
{
    Start(0, 5, 1, 2);
    InstrumentAt(9600);
    auto page = ShowPortPage();
    ASSERT_TRUE(DetectButton(page.get())->isVisible());
    DetectButton(page.get())->click();

    EXPECT_EQ(m_instrument.BreakRates(), std::vector<std::uint32_t>{9600});
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"ADCP detected."});
    // Good news: information, not a warning.
    EXPECT_EQ(m_messages.Types(), std::vector<unsigned>{platform::MB_OK | platform::MB_ICONINFORMATION});
    EXPECT_EQ(Combo(page.get(), IDC_BAUD_COMBO)->currentText(), "9600");
    EXPECT_EQ(Combo(page.get(), IDC_PARITY_COMBO)->currentText(), "None");
    EXPECT_EQ(Combo(page.get(), IDC_STOP_BITS_COMBO)->currentText(), "1");
    EXPECT_EQ(Line().BaudRate, 9600u);
    EXPECT_EQ(m_doc->GetStatusText(), "9600, N, 8, 1");
    EXPECT_EQ(m_doc->LineSettings().m_nBaud, 4);
    EXPECT_EQ(m_doc->LineSettings().m_nParity, 2);
    EXPECT_EQ(m_doc->LineSettings().m_nStopBits, 0);
    EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nBaud, 4);
    EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nParity, 2);
    EXPECT_EQ(ProgressDialog(), nullptr);
    EXPECT_TRUE(page->isEnabled());
}

TEST_F(InstrumentDetection, ByteAfterTheBreakAt9600ChoosesTheSecondRate)
{
    Start();
    InstrumentAt(115200, "\xEA");
    int pauses = 0;
    EXPECT_TRUE(m_doc->DetectInstrumentForScript([&] { ++pauses; }));
    EXPECT_EQ(m_instrument.BreakRates(), (std::vector<std::uint32_t>{9600, 115200}));
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(Line().BaudRate, 115200u);
    EXPECT_EQ(m_doc->LineSettings().m_nBaud, 8);
    EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nBaud, 8);
    EXPECT_TRUE(m_messages.Texts().empty());
}

TEST_F(InstrumentDetection, GuessedRateComesSecondAndEveryOtherRateFollowsOnce)
{
    Start(0, 6, 0, 2);
    InstrumentAt(0, "\x80");
    int pauses = 0;
    EXPECT_FALSE(m_doc->DetectInstrumentForScript([&] { ++pauses; }));
    EXPECT_EQ(m_instrument.BreakRates(),
              (std::vector<std::uint32_t>{9600, 1200, 19200, 38400, 57600, 115200, 4800, 2400}));
    EXPECT_EQ(pauses, 8);
    EXPECT_EQ(Line().BaudRate, 38400u);
    EXPECT_EQ(m_doc->GetStatusText(), "38400, E, 8, 2");
    EXPECT_EQ(m_doc->LineSettings().m_nBaud, 6);
    EXPECT_TRUE(m_messages.Texts().empty());
    ASSERT_TRUE(PumpUntil([&] { return m_doc->GetLogWnd()->GetReceivedText().find("[ ADCP NOT FOUND ]") !=
                                       std::string::npos; }));
}

TEST_F(InstrumentDetection, PromptWithoutTheMakersNameIsNeverTheInstrument)
{
    Start(0, 5, 1, 0);
    m_instrument.AnswerBreaks(m_pty.SlavePath(), [](std::uint32_t) { return std::string("\r\nReady\r\n>"); });
    auto page = ShowPortPage();
    DetectButton(page.get())->click();
    EXPECT_EQ(m_instrument.BreakRates(), kPlainOrder);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Could not detect ADCP."});
    EXPECT_EQ(Line().BaudRate, 19200u);
    EXPECT_EQ(m_doc->GetStatusText(), "19200, O, 8, 1");
    EXPECT_EQ(Combo(page.get(), IDC_BAUD_COMBO)->currentText(), "19200");
    EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nBaud, 5);
}

TEST_F(InstrumentDetection, CancelEndsTheSearchAfterTheTryUnderWay)
{
    Start(0, 5, 0, 0);
    bool pageDisabled = false;
    m_instrument.AnswerBreaks(m_pty.SlavePath(), [&](std::uint32_t rate) {
        if (rate == 38400) {
            CProcessDlg* dialog = ProgressDialog();
            pageDisabled = dialog && dialog->parentWidget() && !dialog->parentWidget()->isEnabled();
            if (dialog)
                dialog->findChild<QPushButton*>("2")->click();
        }
        return std::string();
    });
    auto page = ShowPortPage();
    DetectButton(page.get())->click();
    EXPECT_TRUE(pageDisabled);
    EXPECT_EQ(m_instrument.BreakRates(), (std::vector<std::uint32_t>{9600, 19200, 38400}));
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Could not detect ADCP."});
    EXPECT_EQ(Line().BaudRate, 19200u);
    EXPECT_EQ(m_doc->GetStatusText(), "19200, E, 8, 1");
    EXPECT_TRUE(page->isEnabled());
}

TEST_F(InstrumentDetection, OnlyThePageWaitsASecondAfterASoftwareBreak)
{
    Start();
    m_app->Settings().m_bSoftwareBreak = true;
    InstrumentAt(9600);
    int pauses = 0;
    EXPECT_TRUE(m_doc->DetectInstrumentForScript([&] { ++pauses; }));
    EXPECT_EQ(pauses, 0);

    auto page = ShowPortPage();
    const auto started = std::chrono::steady_clock::now();
    DetectButton(page.get())->click();
    EXPECT_GE(std::chrono::steady_clock::now() - started, 1s);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"ADCP detected."});
    EXPECT_EQ(m_instrument.BreakRates(), (std::vector<std::uint32_t>{9600, 9600}));
    EXPECT_EQ(m_instrument.Received(), "======");
}

TEST_F(InstrumentDetection, ClosedPortIsLeftAlone)
{
    Start();
    InstrumentAt(9600);
    auto page = ShowPortPage();
    m_doc->ClosePort();
    DetectButton(page.get())->click();
    EXPECT_FALSE(m_doc->DetectInstrumentForScript({}));
    EXPECT_TRUE(m_instrument.BreakRates().empty());
    EXPECT_TRUE(m_messages.Texts().empty());
    EXPECT_EQ(ProgressDialog(), nullptr);
}
