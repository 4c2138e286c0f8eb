#include "CFixLeader.h"
#include "CQelEns.h"
#include "CWavesFirstLeader.h"
#include "CWavesPingData.h"
#include "CheckBuilders.h"
#include "DataTypeNames.h"

#include <gtest/gtest.h>

using namespace check_builders;
using ensemble_builder::BuildEnsemble;

namespace {

TEST(DataTypeNames, NamedUnnamedAndDerivedIds)
{
    EXPECT_EQ(GetDataTypeName(0x0000), "Fixed Leader");
    EXPECT_EQ(GetDataTypeName(0x0101), "Glissom Velocity");
    EXPECT_EQ(GetDataTypeName(0x0081), "Glissom Variable Leader");
    EXPECT_EQ(GetDataTypeName(0x0501), "Glissom Status");
    EXPECT_EQ(GetDataTypeName(0x0E01), "Vertical Beam Status");
    EXPECT_EQ(GetDataTypeName(0x2104), "Sedgeway HDT (External Heading) Data");
    EXPECT_EQ(GetDataTypeName(0x1000), "Test Structure #0");
    EXPECT_EQ(GetDataTypeName(0x100F), "Test Structure #15");
    for (int unnamed : {0x0F00, 0x0601, 0x0704, 0x0181, 0x0103, 0x0203, 0x0303, 0x1010, 0xFFFF})
        EXPECT_EQ(GetDataTypeName(static_cast<std::uint16_t>(unnamed)), "") << std::hex << unnamed;
}

TEST(FixLeader, FirmwareRevisionsAboveHundredWrap)
{
    auto version = [](std::uint8_t major, std::uint8_t revision) {
        FixedFields fields;
        fields.version = major;
        fields.revision = revision;
        Bytes ensemble = BuildEnsemble({FixedLeader(fields)});
        const CQelEns view(ensemble.data());
        return CFixLeader(&view).GetFirmwareVersion();
    };
    EXPECT_EQ(version(16, 30), 1630);
    EXPECT_EQ(version(1, 100), 200);
    EXPECT_EQ(version(1, 101), 101);
    EXPECT_EQ(version(50, 140), 5040);
}

TEST(RecordViews, AbsentOrShortRecordsReadAsNothing)
{
    Bytes ping = PingPacket(9);
    const CQelEns packet(ping.data());
    EXPECT_EQ(CWavesPingData(&packet).GetPacketNumber(), 9);
    const CWavesFirstLeader absent(&packet);
    EXPECT_EQ(absent.m_pData, nullptr);
    EXPECT_EQ(absent.GetPingsPerBurst(), 0);
    EXPECT_EQ(CFixLeader(&packet).GetOrientation(), -1);

    // A first leader that ends inside its burst number.
    Bytes cut = BuildEnsemble({DataType{0x0103, Bytes(60, 0xFF)}}, ensemble_builder::kWavesId);
    const CQelEns cutPacket(cut.data());
    const CWavesFirstLeader shortLeader(&cutPacket);
    ASSERT_NE(shortLeader.m_pData, nullptr);
    EXPECT_EQ(shortLeader.GetPingsPerBurst(), 0xFFFF);
    EXPECT_EQ(shortLeader.GetBurstNumber(), 0u);
    EXPECT_EQ(shortLeader.GetBurstStartText(), "255/255/255 255:255:255.255");
}

TEST(DataTypeIndex, IdsByTableIndexWithinTheEnsemble)
{
    Bytes ensemble = BuildEnsemble({VarLeader(1), DataType{0x0100, Bytes(8)}});
    const CQelEns view(ensemble.data());
    EXPECT_EQ(view.GetDataTypeId(0), 0x0080);
    EXPECT_EQ(view.GetDataTypeId(1), 0x0100);
    EXPECT_EQ(view.GetDataTypeId(2), 0);
    EXPECT_EQ(view.GetDataTypeId(-1), 0);
    // An offset that points past the ensemble names no data type.
    ensemble[8] = 0xF0;
    ensemble[9] = 0xFF;
    EXPECT_EQ(view.GetDataTypeId(1), 0xFFFF);
    EXPECT_EQ(CQelEns(nullptr).GetDataTypeId(0), 0);
}

} // namespace
