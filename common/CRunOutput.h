#pragma once
#include "CBaseFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The output file of a utility's run: created after the replace question,
// written in large blocks, closed checked. The first failed write or close
// is kept, and Finish tells it once, naming the output as the run holds it
// and the system's reason, so a run may still finish what it writes before
// the failure is told.
class CRunOutput {
public:
    CRunOutput() = default;
    CRunOutput(const CRunOutput&) = delete;
    CRunOutput& operator=(const CRunOutput&) = delete;

    // CreateRunOutput under `name`; `writtenBefore` says, to a run nobody can
    // answer, what the run wrote before it asked.
    bool Create(const std::string& name, const std::string& writtenBefore = {});

    // Appends to the pending block; the copy may be changed until the next
    // flush, and the last `count` bytes dropped.
    std::uint8_t* Append(const void* bytes, std::size_t count);
    void DropLast(std::size_t count);
    // Writes the pending block once it is large; false once any write failed.
    bool FlushWhenFull();
    // Append, then FlushWhenFull.
    bool AddText(const std::string& text);
    // Writes at once, after the pending block; false once any write failed.
    bool Write(const void* bytes, std::uint32_t count);
    // Writes what is pending and closes, checked. False, after showing
    // "Problems with writing to output file. <name>: <reason>.", when any
    // write or the close failed.
    bool Finish();

private:
    bool Flush();
    bool WriteNow(const void* bytes, std::uint32_t count);
    void Fail(HRESULT failure);

    CBaseFile m_file;
    std::string m_strName;
    std::vector<std::uint8_t> m_pending;
    HRESULT m_hrFailure = S_OK;
};
