#include "CTypedCommandWatchers.h"
#include "ConnectedTerminal.h"

#include <utility>
#include <vector>

namespace {

using namespace std::chrono_literals;

class TypedCommands : public ConnectedTerminal {
protected:
    // What the instrument received once it has count bytes.
    std::string Received(std::size_t count)
    {
        EXPECT_TRUE(m_instrument.WaitReceived(count, 5s));
        return m_instrument.Received();
    }

    void ExpectConnection(int baud, int parity, int stopBits)
    {
        EXPECT_EQ(m_doc->LineSettings().m_nBaud, baud);
        EXPECT_EQ(m_doc->LineSettings().m_nParity, parity);
        EXPECT_EQ(m_doc->LineSettings().m_nStopBits, stopBits);
        EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nBaud, baud);
        EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nParity, parity);
        EXPECT_EQ(m_app->Settings().m_PortSettings[0].m_nStopBits, stopBits);
    }
};

// Records the recovery commands and the typed line each one found.
struct CommandLog {
    std::vector<std::pair<int, std::string>> commands;
};

} // namespace

TEST_F(TypedCommands, BaudCommandMovesTheLineAndSendsCKAfterwards)
{
    Start(0, 5, 1, 2);
    m_instrument.SetSilent(true);
    Type("CB411");
    const auto started = std::chrono::steady_clock::now();
    Type("\r");
    EXPECT_GE(std::chrono::steady_clock::now() - started, 100ms);
    EXPECT_EQ(Received(9), "CB411\rCK\r");
    ExpectConnection(4, 2, 0);
    EXPECT_EQ(Line().BaudRate, 9600u);
    EXPECT_EQ(Line().StopBits, platform::ONESTOPBIT);
    EXPECT_EQ(m_doc->GetStatusText(), "9600, N, 8, 1");
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Baud).empty());

    m_app->Settings().m_bSendCK = false;
    Type("cb832\r");
    EXPECT_EQ(Received(15), "CB411\rCK\rcb832\r");
    ExpectConnection(8, 1, 2);
    EXPECT_EQ(Line().BaudRate, 115200u);
    EXPECT_EQ(Line().StopBits, platform::TWOSTOPBITS);
    EXPECT_EQ(m_doc->GetStatusText(), "115200, O, 8, 2");
}

TEST_F(TypedCommands, RateDigitZeroDependsOnTheInstrumentAndLeaving300Waits)
{
    Start(0);
    m_app->Settings().m_bSendCK = false;
    Type("CB011\r");
    ExpectConnection(-1, 2, 0);
    EXPECT_EQ(Line().BaudRate, 300u);

    auto started = std::chrono::steady_clock::now();
    Type("CB511\r");
    EXPECT_GE(std::chrono::steady_clock::now() - started, 1100ms);
    ExpectConnection(5, 2, 0);

    m_doc->LineSettings().m_nDeviceType = 1;
    Type("CB011\r");
    ExpectConnection(4, 2, 0);

    m_doc->LineSettings().m_nDeviceType = 3;
    Type("CB031\r");
    ExpectConnection(4, 2, 0);
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Baud).empty());
    EXPECT_EQ(Line().BaudRate, 9600u);
}

TEST_F(TypedCommands, OnlyACompleteBaudCommandChangesTheLine)
{
    Start(0, 5, 2, 0);
    m_app->Settings().m_bSendCK = false;
    Type("CB41\r");
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Baud).empty());
    Type("CX123\r");
    EXPECT_EQ(m_doc->TypedSoFar(ILineConnection::TypedWatch::Baud), "CX123");
    // A rate digit outside 0-8 names no rate: nothing changes.
    Type("CB911\r");
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Baud).empty());
    ExpectConnection(5, 2, 0);
    EXPECT_EQ(Line().BaudRate, 19200u);

    Type("ACB44\b11\r");
    ExpectConnection(4, 2, 0);
    EXPECT_EQ(Line().BaudRate, 9600u);
}

TEST_F(TypedCommands, PingCommandSetsThePingingFlagUntilTheNextBreak)
{
    Start(0);
    for (const char* typed : {"c s\r", "CS\r", "cs\r"}) {
        m_doc->SendBreak();
        EXPECT_FALSE(m_doc->IsPinging());
        Type(typed);
        EXPECT_TRUE(m_doc->IsPinging()) << typed;
    }
    m_doc->SendBreak();
    Type("CSX\r");
    EXPECT_FALSE(m_doc->IsPinging());
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Ping).empty());
}

TEST_F(TypedCommands, GlissomTurnsEveryWatcherOff)
{
    Start(2, 5);
    Type("CS\rCB411\r");
    EXPECT_FALSE(m_doc->IsPinging());
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Baud).empty());
    EXPECT_EQ(m_doc->LineSettings().m_nBaud, 5);
    EXPECT_EQ(Line().BaudRate, 19200u);
}

TEST_F(TypedCommands, RecorderCommandsStartRecoveryWithTheTypedLine)
{
    Start(0);
    CommandLog log;
    CTypedCommandWatchers watchers(*m_doc, [&](int id) {
        log.commands.emplace_back(id, id == ID_FILE_RECOVER_RECORDER ? m_doc->TypedSoFar(ILineConnection::TypedWatch::Recorder) : m_doc->TypedSoFar(ILineConnection::TypedWatch::LoopRecorder));
    });
    auto type = [&](const std::string& keys) {
        for (char key : keys)
            watchers.Watch(key);
    };

    type("RY\rRY3\rR\r");
    type("RX");
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::Recorder).empty());
    type("MY\r");
    EXPECT_EQ(log.commands, (std::vector<std::pair<int, std::string>>{{ID_FILE_RECOVER_RECORDER, "RY\r"},
                                                                       {ID_FILE_RECOVER_RECORDER, "RY3\r"}}));

    log.commands.clear();
    m_doc->LineSettings().m_nDeviceType = 3;
    type("ry\rmy2\rm\r");
    EXPECT_EQ(log.commands,
              (std::vector<std::pair<int, std::string>>{{ID_FILE_RECOVER_LOOP_RECORDER, "my2\r"}}));
    EXPECT_TRUE(m_doc->TypedSoFar(ILineConnection::TypedWatch::LoopRecorder).empty());
}
