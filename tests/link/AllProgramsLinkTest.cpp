// The data utilities' libraries in one executable: their command lines and
// resources must not define the same symbols.
#include "../../check/CCmdLineInfo.h"
#include "../../convert/CCmdLineInfo.h"
#include "../../merge/CCmdLineInfo.h"
#include "../../slice/CCmdLineInfo.h"

#include <gtest/gtest.h>

TEST(AllPrograms, CommandLinesOfEveryProgramLiveSideBySide)
{
    dralin::CCmdLineInfo converter;
    quenta::CCmdLineInfo merger;
    vostic::CCmdLineInfo checker;
    pelmar::CCmdLineInfo slicer;
    EXPECT_TRUE(converter.m_strInput.empty() && merger.m_strInput.empty() && checker.m_strInput.empty() &&
                slicer.m_strInput.empty());
}
