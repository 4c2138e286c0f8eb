#include "CQelEns.h"
#include "CVarLeader.h"
#include "EnsembleBuilder.h"

#include <gtest/gtest.h>

using namespace ensemble_builder;

// A view borrows the record from its ensemble; only bytes handed to it as its
// own are released, once, by Free or at its end.
TEST(CRecordView, FreesOnlyOwnedBytes)
{
    Bytes ensemble = BuildEnsemble({VariableLeader(0x000102)});
    CQelEns view(ensemble.data());

    CVarLeader borrowed(&view);
    ASSERT_TRUE(borrowed.IsPresent());
    borrowed.Free();
    EXPECT_TRUE(borrowed.IsPresent());
    EXPECT_EQ(borrowed.GetEnsembleNumber(), 0x000102u);

    CVarLeader owning(nullptr);
    EXPECT_FALSE(owning.IsPresent());
    owning.m_pData = new std::uint8_t[12]{};
    owning.m_bOwnData = true;
    owning.m_nSize = 12;
    owning.Free();
    EXPECT_FALSE(owning.IsPresent());
    EXPECT_FALSE(owning.m_bOwnData);
    EXPECT_EQ(owning.m_nSize, 0);
    owning.Free();

    CVarLeader ownedAtEnd(nullptr);
    ownedAtEnd.m_pData = new std::uint8_t[4]{};
    ownedAtEnd.m_bOwnData = true;
}
