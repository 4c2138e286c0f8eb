#include "CVosticCheck.h"

#include "CFixLeader.h"
#include "CQelEns.h"
#include "CVarLeader.h"
#include "CWavesFirstLeader.h"
#include "CWavesLastLeader.h"
#include "CWavesPingData.h"
#include "DataTypeNames.h"
#include "FilePaths.h"
#include "Format.h"
#include "IProgress.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "RecordBytes.h"
#include "RunFiles.h"
#include "resource.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

using namespace vostic;

namespace {

constexpr int kBothHeaderIds = 2;
constexpr std::uint8_t kEnsembleHeaderId = 0x7F;
constexpr std::uint16_t kBottomTrackId = 0x0600;
constexpr int kBottomPingsWord = 2;
constexpr int kBottomModeByte = 9;
constexpr int kDateTimeBytes = 4;
constexpr int kBuiltInTestWord = 12;

// The line formats of the events in code order, and whether each counts as an error.
struct EventLine {
    const char* format;
    bool isError;
};
const EventLine kEventLines[] = {
    {IDS_EVENT_OUT_OF_SEQUENCE, true}, {IDS_EVENT_SAME, true},
    {IDS_EVENT_LOST, true},            {IDS_EVENT_MISSED, true},
    {IDS_EVENT_BAD_BIT, true},         {IDS_EVENT_UP_TO_DOWN, true},
    {IDS_EVENT_DOWN_TO_UP, true},      {IDS_EVENT_PACKET_LOST, true},
    {IDS_EVENT_BURST_STARTED, false},  {IDS_EVENT_BURST_ENDED, false},
    {IDS_EVENT_PACKET_SAME, true},     {IDS_EVENT_PACKET_OUT_OF_SEQUENCE, true},
};

} // namespace

CVosticCheck::CVosticCheck() : m_input(kBothHeaderIds)
{
    m_wTypeIds.fill(kFreeSlot);
}

std::int32_t CVosticCheck::NumberFromText(const std::string& text)
{
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

bool CVosticCheck::AcceptNames(const CheckRequest& request)
{
    m_request = request;
    m_bWriteDateTime = request.writeDateTime;
    m_strInputFile = request.input;
    if (request.input.empty()) {
        platform::ShowMessage(utility_text::kMsgEnterInput);
        return false;
    }
    if (request.log.empty()) {
        platform::ShowMessage(utility_text::kMsgEnterOutput);
        return false;
    }
    if (request.input == request.log) {
        platform::ShowMessage(utility_text::kMsgSameFile);
        return false;
    }
    return true;
}

bool CVosticCheck::OpenFiles()
{
    m_nStart = NumberFromText(m_request.start);
    m_nEnd = NumberFromText(m_request.end);
    if (const HRESULT opened = m_input.Open(m_request.input); FAILED(opened)) {
        ShowCannotOpenInput(m_input, m_request.input, opened);
        return false;
    }
    // The report must never overwrite the input, under whatever name.
    if (IsPartOfChain(m_input, m_request.log)) {
        m_input.Close();
        platform::ShowMessage(utility_text::kMsgSameFile);
        return false;
    }
    if (!m_log.Create(m_request.log)) {
        m_input.Close();
        return false;
    }
    return true;
}

CheckOutcome CVosticCheck::Run(IProgress& progress)
{
    const std::uint64_t totalLength = m_input.GetTotalLength();
    progress.Pump();
    progress.SetRange(totalLength);
    ResetRun();
    SaveLastInputFileName(m_request.input);
    SaveLastOutputFileName(m_request.log);
    WriteReportSection(kReportHeader, m_strInputFile);

    for (int size = m_input.ReadNextEnsemble(); size != 0; size = m_input.ReadNextEnsemble()) {
        if (m_state.firstItemSize == 0)
            m_state.firstItemSize = static_cast<std::uint32_t>(size);
        progress.SetPos(m_input.GetPosition());
        const CQelEns item(m_input.m_pEnsemble);
        if (item.m_pData[1] == kEnsembleHeaderId) {
            if (!CheckEnsemble(item))
                break;
        } else {
            CheckWavesPacket(item);
        }
        if (!progress.Pump())
            break;
    }
    if (SUCCEEDED(m_input.GetReadError()))
        return EndRun({});
    // The report of what was read is written before the failure is told.
    const std::string readFailure = InputReadFailureText(m_input, m_request.input);
    EndRun(readFailure);
    platform::ShowMessage(readFailure);
    return CheckOutcome::ReadFailed;
}

void CVosticCheck::ResetRun()
{
    m_nValidEnsembles = 0;
    m_nMissingEnsembles = 0;
    m_nBadBitEnsembles = 0;
    m_nBursts = 0;
    m_nErrorLines = 0;
    m_wTypeIds.fill(kFreeSlot);
    m_nTypeSizes.fill(0);
    m_state = RunState{};
    m_strLogFile = m_request.log;
}

bool CVosticCheck::CheckEnsemble(const CQelEns& ensemble)
{
    const CFixLeader fixedLeader(&ensemble);
    const CVarLeader variableLeader(&ensemble);
    TakeFixedLeaderFacts(fixedLeader);
    TakeBottomTrackFacts(ensemble);
    AddDataTypes(ensemble);
    const auto number = static_cast<std::int32_t>(variableLeader.GetEnsembleNumber());
    switch (ApplyRange(number)) {
    case RangeDecision::Stop:
        return false;
    case RangeDecision::Skip:
        return true;
    case RangeDecision::Count:
        CountEnsemble(fixedLeader, variableLeader, number);
        return true;
    }
    return true;
}

void CVosticCheck::TakeFixedLeaderFacts(const CFixLeader& leader)
{
    if (m_state.fixedLeaderTaken || !leader.IsPresent())
        return;
    m_state.fixedLeaderTaken = true;
    m_state.firmwareVersion = leader.GetFirmwareVersion() * 0.01;
    m_state.frequencyKHz = leader.GetFrequencyKHz();
    m_state.cells = leader.GetCells();
    m_state.waterPings = leader.GetWaterPings();
    m_state.cellSize = leader.GetCellSize();
    m_state.blank = leader.GetBlank();
    m_state.waterMode = leader.GetWaterMode();
}

void CVosticCheck::TakeBottomTrackFacts(const CQelEns& ensemble)
{
    if (m_state.bottomTrackTaken)
        return;
    int size = 0;
    const std::uint8_t* bottomTrack = ensemble.FindDataType(kBottomTrackId, &size);
    if (bottomTrack == nullptr)
        return;
    m_state.bottomTrackTaken = true;
    m_state.bottomPings = record_bytes::U16(bottomTrack, size, kBottomPingsWord);
    m_state.bottomMode = record_bytes::U8(bottomTrack, size, kBottomModeByte);
}

void CVosticCheck::AddDataTypes(const CQelEns& ensemble)
{
    const int count = ensemble.m_pData[5];
    for (int index = 0; index < count; ++index) {
        const std::uint16_t id = ensemble.GetDataTypeId(index);
        if (id == kFreeSlot)
            continue;
        const auto slot = std::find_if(m_wTypeIds.begin(), m_wTypeIds.end(),
                                       [id](std::uint16_t known) { return known == id || known == kFreeSlot; });
        if (slot == m_wTypeIds.end() || *slot == id)
            continue;
        int size = 0;
        ensemble.FindDataType(id, &size);
        *slot = id;
        m_nTypeSizes[static_cast<std::size_t>(slot - m_wTypeIds.begin())] = static_cast<std::uint32_t>(size);
    }
}

CVosticCheck::RangeDecision CVosticCheck::ApplyRange(std::int32_t number)
{
    if (m_nStart != 0 && number < m_nStart) {
        if (!m_state.started)
            return RangeDecision::Skip;
        return m_nEnd != 0 ? RangeDecision::Stop : RangeDecision::Count;
    }
    if (m_nStart != 0)
        m_state.started = true;
    return m_nEnd != 0 && number > m_nEnd ? RangeDecision::Stop : RangeDecision::Count;
}

void CVosticCheck::CountEnsemble(const CFixLeader& fixedLeader, const CVarLeader& variableLeader,
                                 std::int32_t number)
{
    if (m_state.firstNumber < 0)
        m_state.firstNumber = number;
    ++m_nValidEnsembles;
    TestSequence(number);
    TestOrientation(fixedLeader, number);
    TestBuiltInTest(variableLeader, number);
    if (m_bWriteDateTime)
        WriteDateLine(variableLeader, number);
}

void CVosticCheck::TestSequence(std::int32_t number)
{
    const std::int32_t previous = m_state.previousNumber;
    m_state.previousNumber = number;
    if (previous <= 0 || number == previous + 1 || number == 0)
        return;
    if (number > previous) {
        if (number - previous == 2)
            WriteReportEvent(kEnsembleLost, number - 1);
        else
            WriteReportEvent(kEnsemblesMissed, number, number - previous - 1, previous);
        m_nMissingEnsembles += number - previous - 1;
    } else if (number == previous) {
        WriteReportEvent(kSameNumber, number);
    } else {
        WriteReportEvent(kOutOfSequence, number, previous);
    }
}

// An ensemble without the system byte of a fixed leader has no orientation:
// it neither raises the test nor changes what the next ensemble is compared with.
void CVosticCheck::TestOrientation(const CFixLeader& leader, std::int32_t number)
{
    const int orientation = leader.GetOrientation();
    if (orientation < 0)
        return;
    if (m_state.previousOrientation >= 0 && m_state.previousOrientation != orientation)
        WriteReportEvent(orientation == 0 ? kUpToDown : kDownToUp, number);
    m_state.previousOrientation = orientation;
}

void CVosticCheck::TestBuiltInTest(const CVarLeader& leader, std::int32_t number)
{
    const int result = record_bytes::U16(leader.m_pData, leader.m_nSize, kBuiltInTestWord);
    if (result == 0)
        return;
    ++m_nBadBitEnsembles;
    WriteReportEvent(kBadBuiltInTest, number, result);
}

// Without a variable leader the date and time read as zeros.
void CVosticCheck::WriteDateLine(const CVarLeader& leader, std::int32_t number)
{
    auto at = [&](int index) {
        return static_cast<int>(record_bytes::U8(leader.m_pData, leader.m_nSize, kDateTimeBytes + index));
    };
    WriteReportSection(kText, platform::Format(IDS_DATE_LINE, static_cast<int>(number), at(0), at(1), at(2),
                                               at(3), at(4), at(5), at(6)));
}

void CVosticCheck::CheckWavesPacket(const CQelEns& packet)
{
    const CWavesFirstLeader firstLeader(&packet);
    if (firstLeader.IsPresent()) {
        ++m_nBursts;
        if (m_state.firstLeaderSize == 0)
            m_state.firstLeaderSize = static_cast<std::uint32_t>(firstLeader.m_nSize);
        m_state.burstOpen = true;
        m_state.pingsPerBurst = firstLeader.GetPingsPerBurst();
        m_state.burstNumber = firstLeader.GetBurstNumber();
        m_state.burstStartText = firstLeader.GetBurstStartText();
        m_state.packetsReceived = 0;
        m_state.lastPacketNumber = 0;
        WriteReportEvent(kBurstStarted, static_cast<std::int32_t>(m_state.burstNumber), 0, 0,
                         m_state.burstStartText);
        return;
    }
    const CWavesLastLeader lastLeader(&packet);
    if (lastLeader.IsPresent()) {
        if (m_state.lastLeaderSize == 0)
            m_state.lastLeaderSize = static_cast<std::uint32_t>(lastLeader.m_nSize);
        if (m_state.burstOpen) {
            WriteReportEvent(kBurstEnded, static_cast<std::int32_t>(m_state.burstNumber), m_state.packetsReceived,
                             m_state.pingsPerBurst - m_state.packetsReceived);
            m_state.burstOpen = false;
        }
        return;
    }
    const CWavesPingData ping(&packet);
    if (!ping.IsPresent())
        return;
    if (m_state.pingSize == 0)
        m_state.pingSize = static_cast<std::uint32_t>(ping.m_nSize);
    if (m_state.burstOpen)
        CheckPingPacket(ping.GetPacketNumber());
}

void CVosticCheck::CheckPingPacket(std::uint16_t packetNumber)
{
    const std::uint16_t last = m_state.lastPacketNumber;
    ++m_state.packetsReceived;
    if (packetNumber < last)
        WriteReportEvent(kPacketOutOfSequence, packetNumber, last);
    else if (packetNumber == last)
        WriteReportEvent(kPacketSame, packetNumber);
    else if (packetNumber > last + 1)
        WriteReportEvent(kPacketLost, packetNumber - 1);
    m_state.lastPacketNumber = packetNumber;
}

void CVosticCheck::WriteReportSection(ReportSection kind, const std::string& text)
{
    switch (kind) {
    case kReportHeader:
        m_log.AddText(platform::Format(IDS_REPORT_HEADER, text.c_str()));
        break;
    case kInfoHeader:
        m_log.AddText(platform::Format(IDS_INFO_HEADER, text.c_str()));
        break;
    case kNoErrors:
        m_log.AddText(IDS_NO_ERRORS);
        break;
    case kNoEnsemblesToCheck:
        m_log.AddText(IDS_NO_ENSEMBLES_TO_CHECK);
        break;
    case kText:
        m_log.AddText(text);
        break;
    default:
        break;
    }
}

void CVosticCheck::WriteReportEvent(ReportEvent code, std::int32_t a, std::int32_t b, std::int32_t c,
                                    const std::string& text)
{
    if (code < kOutOfSequence || code > kPacketOutOfSequence)
        return;
    const EventLine& line = kEventLines[code - 1];
    std::string formatted;
    switch (code) {
    case kEnsemblesMissed:
        formatted = platform::Format(line.format, static_cast<long>(a), static_cast<int>(b), static_cast<long>(c));
        break;
    case kBadBuiltInTest:
        formatted = platform::Format(line.format, static_cast<long>(a), static_cast<int>(b));
        break;
    case kBurstStarted:
        formatted = platform::Format(line.format, static_cast<long>(a), text.c_str());
        break;
    case kBurstEnded:
        formatted = platform::Format(line.format, static_cast<long>(a), static_cast<long>(b), static_cast<long>(c));
        break;
    default:
        formatted = platform::Format(line.format, static_cast<long>(a), static_cast<long>(b));
        break;
    }
    if (line.isError)
        ++m_nErrorLines;
    m_log.AddText(formatted);
}

CheckOutcome CVosticCheck::EndRun(const std::string& readFailure)
{
    WriteReportSection(kInfoHeader, m_strInputFile);
    if (!readFailure.empty())
        WriteReportSection(kText, readFailure + "\r\n");
    const bool counted = m_nValidEnsembles != 0;
    if (!counted) {
        if (readFailure.empty())
            platform::ShowMessage(utility_text::kMsgNoEnsembles);
        WriteReportSection(kNoEnsemblesToCheck, {});
    } else {
        if (m_nErrorLines == 0 && readFailure.empty())
            WriteReportSection(kNoErrors, {});
        WriteSummary();
        WriteSettings();
        WriteWavesTotals();
        WriteReportSection(kText, IDS_SEPARATOR);
        WriteDataTypeTable();
    }
    m_input.Close();
    if (!m_log.Finish())
        return CheckOutcome::WriteFailed;
    return counted ? CheckOutcome::Completed : CheckOutcome::NoValidEnsembles;
}

void CVosticCheck::WriteSummary()
{
    using platform::Format;
    WriteReportSection(kText, "\r\n");
    WriteReportSection(kText, Format(IDS_ENSEMBLE_SIZE, m_state.firstItemSize));
    WriteReportSection(kText, Format(IDS_FIRST_ENSEMBLE, static_cast<long>(m_state.firstNumber)));
    WriteReportSection(kText, Format(IDS_LAST_ENSEMBLE, static_cast<long>(m_state.previousNumber)));
    WriteReportSection(kText, Format(IDS_VALID_ENSEMBLES, static_cast<long>(m_nValidEnsembles)));
    WriteReportSection(kText, Format(IDS_MISSING_ENSEMBLES, static_cast<long>(m_nMissingEnsembles)));
    WriteReportSection(kText, Format(IDS_BAD_BIT_ENSEMBLES, static_cast<long>(m_nBadBitEnsembles)));
    WriteReportSection(kText, IDS_SEPARATOR);
}

void CVosticCheck::WriteSettings()
{
    using platform::Format;
    WriteReportSection(kText, Format(IDS_FIRMWARE, m_state.firmwareVersion));
    WriteReportSection(kText, Format(IDS_FREQUENCY, m_state.frequencyKHz));
    WriteReportSection(kText, Format(IDS_CELLS, m_state.cells));
    WriteReportSection(kText, Format(IDS_CELL_SIZE, m_state.cellSize));
    WriteReportSection(kText, Format(IDS_WATER_MODE, m_state.waterMode));
    WriteReportSection(kText, Format(IDS_WATER_PINGS, m_state.waterPings));
    WriteReportSection(kText, Format(IDS_BLANK, m_state.blank));
    if (!m_state.bottomTrackTaken)
        return;
    WriteReportSection(kText, Format(IDS_BOTTOM_MODE, m_state.bottomMode));
    WriteReportSection(kText, Format(IDS_BOTTOM_PINGS, m_state.bottomPings));
}

void CVosticCheck::WriteWavesTotals()
{
    if (m_state.firstLeaderSize == 0 || m_state.lastLeaderSize == 0)
        return;
    const unsigned long long burstSize =
        static_cast<unsigned long long>(m_state.pingSize) * m_state.pingsPerBurst + m_state.lastLeaderSize
        + m_state.firstLeaderSize;
    WriteReportSection(kText, IDS_SEPARATOR);
    WriteReportSection(kText, platform::Format(IDS_BURST_SIZE, burstSize));
    WriteReportSection(kText, platform::Format(IDS_BURST_COUNT, static_cast<long>(m_nBursts)));
}

void CVosticCheck::WriteDataTypeTable()
{
    std::string table = IDS_TYPE_TABLE_HEAD;
    for (int slot = 0; slot < kMaxDataTypes && m_wTypeIds[slot] != kFreeSlot; ++slot) {
        table += platform::Format(IDS_TYPE_ROW, static_cast<unsigned>(m_wTypeIds[slot]),
                                  GetDataTypeName(m_wTypeIds[slot]).c_str(), m_nTypeSizes[slot]);
    }
    WriteReportSection(kText, table);
    if (m_state.firstLeaderSize == 0)
        return;
    const struct {
        std::uint16_t id;
        const char* name;
        std::uint32_t size;
    } wavesRows[] = {
        {CWavesFirstLeader::kId, IDS_WAVES_FIRST_LEADER, m_state.firstLeaderSize},
        {CWavesPingData::kId, IDS_WAVES_PING, m_state.pingSize},
        {CWavesLastLeader::kId, IDS_WAVES_LAST_LEADER, m_state.lastLeaderSize},
    };
    for (const auto& row : wavesRows)
        WriteReportSection(kText, platform::Format(IDS_TYPE_ROW, static_cast<unsigned>(row.id), row.name, row.size));
}
