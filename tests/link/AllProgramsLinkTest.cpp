// Every program's library in one executable: their command lines and
// resources must not define the same symbols.
#include "../../check/CCmdLineInfo.h"
#include "../../convert/CCmdLineInfo.h"
#include "../../merge/CCmdLineInfo.h"
#include "../../slice/CCmdLineInfo.h"
#include "../../terminal/app/CCmdLineInfo.h"

#include <gtest/gtest.h>

TEST(AllPrograms, CommandLinesOfEveryProgramLiveSideBySide)
{
    dralin::CCmdLineInfo converter;
    quenta::CCmdLineInfo merger;
    vostic::CCmdLineInfo checker;
    pelmar::CCmdLineInfo slicer;
    parlim::CCmdLineInfo terminal;
    EXPECT_TRUE(converter.m_strInput.empty() && merger.m_strInput.empty() && checker.m_strInput.empty() &&
                slicer.m_strInput.empty() && terminal.m_strScriptFile.empty());
}
