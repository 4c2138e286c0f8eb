#include "CQelEns.h"
#include "CVarLeader.h"
#include "EnsembleBuilder.h"

#include <gtest/gtest.h>

using namespace ensemble_builder;

namespace {

void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// Table of three types (offsets at 6, 8, 10): fixed leader, leader, velocity.
Bytes ThreeTypes()
{
    return BuildEnsemble({PatternType(kFixedLeaderId, 59), VariableLeader(0x021234), PatternType(kVelocityId, 40)});
}

} // namespace

TEST(CQelEns, SizeChecksumAndLookup)
{
    Bytes ensemble = ThreeTypes();
    CQelEns view(ensemble.data());
    EXPECT_EQ(view.GetEnsembleSize(), static_cast<int>(ensemble.size()));
    EXPECT_EQ(view.ComputeChecksum(), Checksum(ensemble));

    int size = -1;
    std::uint8_t* leader = view.FindDataType(kVariableLeaderId, &size);
    ASSERT_NE(leader, nullptr);
    EXPECT_EQ(leader - ensemble.data(), 12 + 59);
    EXPECT_EQ(size, 65);
    std::uint8_t* velocity = view.FindDataType(kVelocityId, &size);
    ASSERT_NE(velocity, nullptr);
    EXPECT_EQ(size, 40); // the last type reaches to the byte count

    size = -1;
    EXPECT_EQ(view.FindDataType(0x0200, &size), nullptr);
    EXPECT_EQ(size, -1);
    EXPECT_EQ(CVarLeader(&view).GetEnsembleNumber(), 0x021234u);
}

TEST(CQelEns, UpdateChecksumAfterAChange)
{
    Bytes ensemble = ThreeTypes();
    CQelEns view(ensemble.data());
    ensemble[40] ^= 0xFF;
    EXPECT_NE(view.ComputeChecksum(), Checksum(ThreeTypes()));
    view.UpdateChecksum();
    EXPECT_EQ(Checksum(ensemble), static_cast<std::uint16_t>(ensemble[ensemble.size() - 2] | ensemble.back() << 8));
}

TEST(CQelEns, ViewsWithoutData)
{
    CQelEns empty(nullptr);
    EXPECT_EQ(empty.GetEnsembleSize(), 0);
    EXPECT_EQ(empty.ComputeChecksum(), 0);
    EXPECT_EQ(empty.FindDataType(0), nullptr);
    EXPECT_EQ(CVarLeader(&empty).GetEnsembleNumber(), 0u);
    EXPECT_EQ(CVarLeader(nullptr).GetEnsembleNumber(), 0u);

    Bytes noLeader = BuildEnsemble({PatternType(kFixedLeaderId, 59)});
    CQelEns view(noLeader.data());
    EXPECT_EQ(view.FindDataType(kVariableLeaderId), nullptr);
    EXPECT_EQ(CVarLeader(&view).GetEnsembleNumber(), 0u);
}

TEST(CQelEns, EntriesOutsideTheEnsembleCountAsAbsent)
{
    Bytes ensemble = ThreeTypes();
    const std::size_t byteCount = ensemble.size() - 2;
    CQelEns view(ensemble.data());

    // An offset whose id would overlap the checksum.
    PutU16(ensemble, 6, static_cast<std::uint16_t>(byteCount - 1));
    ensemble[byteCount - 1] = 0x00;
    ensemble[byteCount] = 0x00;
    EXPECT_EQ(view.FindDataType(kFixedLeaderId), nullptr);
    // An offset far beyond the ensemble.
    PutU16(ensemble, 6, 0xFFF0);
    EXPECT_EQ(view.FindDataType(kFixedLeaderId), nullptr);
    // The entries inside are still found.
    EXPECT_NE(view.FindDataType(kVelocityId), nullptr);

    // A table longer than the ensemble: nothing is found.
    ensemble[5] = 200;
    EXPECT_EQ(view.FindDataType(kVelocityId), nullptr);
}

TEST(CQelEns, SizeOfATypeNeverReachesPastTheEnsemble)
{
    Bytes ensemble = ThreeTypes();
    const int byteCount = static_cast<int>(ensemble.size() - 2);
    CQelEns view(ensemble.data());
    int size = 0;

    // The leader's end (the velocity entry) points beyond the ensemble.
    PutU16(ensemble, 10, 0xFFF0);
    ASSERT_NE(view.FindDataType(kVariableLeaderId, &size), nullptr);
    EXPECT_EQ(size, byteCount - (12 + 59));
    // ... or before the leader itself.
    PutU16(ensemble, 10, 7);
    ASSERT_NE(view.FindDataType(kVariableLeaderId, &size), nullptr);
    EXPECT_EQ(size, byteCount - (12 + 59));
}

TEST(CVarLeader, NumberNeedsItsBytesInsideTheLeader)
{
    // A leader of 11 bytes has no byte 11.
    Bytes shortLeader = BuildEnsemble({DataType{kVariableLeaderId, Bytes{0x34, 0x12, 0, 0, 0, 0, 0, 0, 0}},
                                       PatternType(kVelocityId, 20)});
    CQelEns view(shortLeader.data());
    CVarLeader leader(&view);
    EXPECT_NE(leader.m_pData, nullptr);
    EXPECT_EQ(leader.m_nSize, 11);
    EXPECT_EQ(leader.GetEnsembleNumber(), 0u);

    Bytes exact = BuildEnsemble({VariableLeader(0xABCDEF, 12)});
    CQelEns exactView(exact.data());
    EXPECT_EQ(CVarLeader(&exactView).GetEnsembleNumber(), 0xABCDEFu);
}

TEST(CQelEns, EntriesInsideTheHeaderOrTableAreNoDataType)
{
    Bytes ensemble = ThreeTypes();
    CQelEns view(ensemble.data());
    // Offset 0 shows the header's own 7F 7F as an id; 4 the type count;
    // 6 to 11 the table itself (three entries end at 12).
    for (int at : {0, 2, 4, 6, 8, 10, 11}) {
        const auto offset = static_cast<std::uint16_t>(at);
        PutU16(ensemble, 6, offset);
        const std::uint16_t shownId = static_cast<std::uint16_t>(ensemble[offset] | ensemble[offset + 1] << 8);
        EXPECT_EQ(view.FindDataType(shownId), nullptr) << offset;
        EXPECT_EQ(view.GetDataTypeId(0), 0xFFFF) << offset;
    }
    // The first byte after the table is a data type again.
    PutU16(ensemble, 6, 12);
    EXPECT_EQ(view.FindDataType(kFixedLeaderId), ensemble.data() + 12);
    EXPECT_EQ(view.GetDataTypeId(0), kFixedLeaderId);
}
