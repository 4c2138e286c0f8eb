#pragma once
// The settings every connection of the terminal shares: the twelve connection
// slots, the slot the current command works on, and the four options.
#include "CPortSettings.h"

struct CTerminalSettings {
    // Seconds a script line waits for the prompt while that option is on.
    static constexpr int kPromptWaitSeconds = 5;

    CTerminalSettings();

    CPortSettings& CurrentSlot() { return m_PortSettings[m_nCurPort]; }
    const CPortSettings& CurrentSlot() const { return m_PortSettings[m_nCurPort]; }
    bool GetScriptErrorCheck() const { return CurrentSlot().m_bScriptErrorCheck != 0; }
    bool GetOverwriteLog() const { return CurrentSlot().m_bOverwriteLog != 0; }
    void SetOverwriteLog(bool on) { CurrentSlot().m_bOverwriteLog = on; }

    PortTable m_PortSettings;
    int m_nCurPort = 0;
    bool m_bSendCK = true;
    bool m_bSoftwareBreak = false;
    bool m_bEcho = false;
    int m_nPromptWait = kPromptWaitSeconds;
};
