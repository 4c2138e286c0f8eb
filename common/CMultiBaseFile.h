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
// Reads go through a block buffer, so byte-wise readers cost no system call
// per byte and seeks back into the buffered block need no system call at all.
class CMultiBaseFile : public CBaseFile {
public:
    ~CMultiBaseFile() override = default;

    // Closes the open part and drops buffered bytes; the part list stays.
    void Close() override;

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

    // Next byte of the stream; -1 at its end or when a read fails.
    int ReadByte()
    {
        if (m_nBufferIndex < m_nBufferLength)
            return m_buffer[m_nBufferIndex++];
        return ReadByteUnbuffered();
    }
    // Stream position of the next byte that Read or ReadByte delivers.
    std::uint64_t StreamPosition() const { return m_nBufferStart + m_nBufferIndex; }

private:
    static constexpr std::uint32_t kBufferSize = 64 * 1024;

    // The name that follows `path` in its chain, or empty when none does.
    static std::string NextPartName(const std::string& path);

    int ReadByteUnbuffered();
    void DropBuffer();
    HRESULT RefillBuffer();
    // Reads from the parts themselves, moving on to following parts until the
    // count is met or the chain ends.
    HRESULT ReadParts(std::uint8_t* destination, std::uint32_t count, std::uint32_t* read);
    HRESULT OpenFollowingPart(bool* opened);
    std::uint64_t SizeOfPartsBefore(std::size_t part) const;
    HRESULT SeekOutsideBuffer(std::uint64_t target);

    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_nBufferStart = 0; // stream position of m_buffer[0]
    std::uint32_t m_nBufferLength = 0;
    std::uint32_t m_nBufferIndex = 0;
    // Set while the open handle is a part opened by this class, so the
    // buffer bookkeeping gives the position without asking the system.
    bool m_bReadingChain = false;
};
