#pragma once
#include "CBaseFile.h"

#include <cstdint>
#include <string>
#include <vector>

struct PartFileEntry {
    std::string m_strName;   // full path of the part
    std::uint64_t m_nSize = 0; // measured when the chain is opened
};

// One read-only stream over a chain of numbered part files
// ("name_000001.ext" ... or "name.001" ...), with one length and one position.
class CMultiBaseFile : public CBaseFile {
public:
    ~CMultiBaseFile() override = default;

    HRESULT Open(std::string name);
    std::string GetNextPartName() const;
    HRESULT Read(void* buffer, std::uint32_t count, std::uint32_t* read = nullptr);
    HRESULT Seek(std::int64_t offset, int origin, std::uint64_t* newPosition = nullptr);
    std::uint64_t GetPosition();
    std::uint64_t GetTotalLength() const;

    std::vector<PartFileEntry> m_parts;
    int m_nCurrentPart = 0;

protected:
    // Opens a listed part like CBaseFile::Open, releasing only the handle of
    // the open part, so a derived reader keeps its state across parts.
    HRESULT OpenPart(const std::string& path);
};
