#pragma once
#include "CBaseFile.h"

#include <string>

// The report file. Text is gathered and written in large blocks; a failed
// write is remembered so that the run can tell the user at its end.
class CReportLog {
public:
    CReportLog() = default;
    ~CReportLog();
    CReportLog(const CReportLog&) = delete;
    CReportLog& operator=(const CReportLog&) = delete;

    // Asks before replacing an existing file and creates it; shows the
    // message and answers false when the run must end.
    bool Create(const std::string& name);
    void Write(const std::string& text);
    // Writes what is gathered and closes; false when any write failed.
    bool Close();

private:
    void Flush();

    CBaseFile m_file;
    std::string m_buffer;
    bool m_bWriteFailed = false;
};
