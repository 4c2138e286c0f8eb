#include "CTerminalSettings.h"

CTerminalSettings::CTerminalSettings()
{
    for (int index = 0; index < kPortSlotCount; ++index)
        m_PortSettings[index] = CPortSettings::Defaults(index);
}
