#pragma once
#include "CQelEnsFile.h"
#include "CRunOutput.h"

#include <array>
#include <cstdint>
#include <string>

class CFixLeader;
class CQelEns;
class CVarLeader;
class IProgress;

// What the user asked for: the texts of the dialog's fields and the date option.
struct CheckRequest {
    std::string input;
    std::string log;
    std::string start;
    std::string end;
    bool writeDateTime = false;
};

enum class CheckOutcome {
    Completed,        // the report is complete (also after Cancel)
    NoValidEnsembles, // no ensemble was counted; the short report was written
    WriteFailed,      // the report could not be written in full
    ReadFailed,       // a read of the input failed before its end
};

// One check run over an ensemble file: the ensemble-number sequence, the
// orientation and built-in-test result of each ensemble in the number range,
// the waves bursts and their packets, the instrument settings and the data
// types seen, all written into the report (log) file.
// Calling order: AcceptNames, OpenFiles, Run. A false answer ends the run; its
// message has been shown and nothing was written.
class CVosticCheck {
public:
    static constexpr int kMaxDataTypes = 100;
    static constexpr std::uint16_t kFreeSlot = 0xFFFF;

    CVosticCheck();

    // A range field's text read like atol (leading blanks, a sign, digits up
    // to the first other character; none gives 0), held to 32 bits.
    static std::int32_t NumberFromText(const std::string& text);

    bool AcceptNames(const CheckRequest& request);
    bool OpenFiles();
    CheckOutcome Run(IProgress& progress);

    std::int64_t m_nValidEnsembles = 0;
    std::int64_t m_nMissingEnsembles = 0;
    std::int64_t m_nBadBitEnsembles = 0;
    std::int64_t m_nBursts = 0;
    std::string m_strInputFile;
    int m_nErrorLines = 0;
    std::array<std::uint16_t, kMaxDataTypes> m_wTypeIds{};
    std::array<std::uint32_t, kMaxDataTypes> m_nTypeSizes{};
    std::string m_strLogFile;
    bool m_bWriteDateTime = false;

    std::int32_t FirstNumber() const { return m_state.firstNumber; }
    std::int32_t LastNumber() const { return m_state.previousNumber; }

private:
    enum class RangeDecision { Count, Skip, Stop };

    // Local state of one run, reset at its start.
    struct RunState {
        bool started = false;
        std::int32_t previousNumber = -1;
        std::int32_t firstNumber = -1;
        int previousOrientation = -1;
        std::uint32_t firstItemSize = 0;
        bool fixedLeaderTaken = false;
        double firmwareVersion = 0.0;
        double frequencyKHz = 0.0;
        int cells = 0, waterPings = 0, cellSize = 0, blank = 0, waterMode = 0;
        bool bottomTrackTaken = false;
        int bottomMode = 0, bottomPings = 0;
        bool burstOpen = false;
        std::uint32_t burstNumber = 0;
        std::uint16_t pingsPerBurst = 0;
        std::uint16_t packetsReceived = 0;
        std::uint16_t lastPacketNumber = 0;
        std::string burstStartText;
        // A size stays 0 until its record kind is first seen.
        std::uint32_t firstLeaderSize = 0, pingSize = 0, lastLeaderSize = 0;
    };

    void ResetRun();
    // False when the range rule ends the loop.
    bool CheckEnsemble(const CQelEns& ensemble);
    void CheckWavesPacket(const CQelEns& packet);
    void TakeFixedLeaderFacts(const CFixLeader& leader);
    void TakeBottomTrackFacts(const CQelEns& ensemble);
    void AddDataTypes(const CQelEns& ensemble);
    RangeDecision ApplyRange(std::int32_t number);
    void CountEnsemble(const CFixLeader& fixedLeader, const CVarLeader& variableLeader, std::int32_t number);
    void TestSequence(std::int32_t number);
    void TestOrientation(const CFixLeader& leader, std::int32_t number);
    void TestBuiltInTest(const CVarLeader& leader, std::int32_t number);
    void WriteDateLine(const CVarLeader& leader, std::int32_t number);
    void CheckPingPacket(std::uint16_t packetNumber);

    // The report's fixed parts: the REPORT and DATA FILE INFORMATION headers,
    // the no-errors and no-valid-ensembles lines, or the text itself.
    enum ReportSection { kReportHeader, kInfoHeader, kNoErrors, kNoEnsemblesToCheck, kText };
    // The event lines, numbered from 1 in the order of their formats.
    enum ReportEvent {
        kOutOfSequence = 1,
        kSameNumber,
        kEnsembleLost,
        kEnsemblesMissed,
        kBadBuiltInTest,
        kUpToDown,
        kDownToUp,
        kPacketLost,
        kBurstStarted,
        kBurstEnded,
        kPacketSame,
        kPacketOutOfSequence,
    };

    void WriteReportSection(ReportSection kind, const std::string& text);
    void WriteReportEvent(ReportEvent code, std::int32_t a, std::int32_t b = 0, std::int32_t c = 0,
                          const std::string& text = {});
    void WriteSummary();
    void WriteSettings();
    void WriteWavesTotals();
    void WriteDataTypeTable();
    // Ends the report; a failed read (its text, empty after a whole read)
    // gets a line of its own and leaves the no-errors line out.
    CheckOutcome EndRun(const std::string& readFailure);

    CheckRequest m_request;
    std::int32_t m_nStart = 0;
    std::int32_t m_nEnd = 0;
    CQelEnsFile m_input;
    CRunOutput m_log;
    RunState m_state;
};
