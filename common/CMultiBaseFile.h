#pragma once
#include "CBaseFile.h"
#include "PartFileEntry.h"
#include "PartMappings.h"

#include <cstdint>
#include <string>
#include <vector>

// One read-only stream over a chain of numbered part files
// ("name_000001.ext" ... or "name.001" ...), with one length and one position.
// A chain of regular files is mapped into memory and read where it lies; a
// pipe or FIFO (only ever a first part) is read through a block buffer, as
// are the few bytes that straddle two parts.
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
    // The failure of a read that ended the stream early; S_OK while every
    // read reached the data or the true end. Only Close and Open clear it, so
    // a seek after the failure never lets a partial read pass for a whole.
    HRESULT GetReadError() const { return m_hrReadError; }

    std::vector<PartFileEntry> m_parts;
    int m_nCurrentPart = 0;

protected:
    // The largest count Prefetch can hold after the bytes it keeps.
    static constexpr std::uint32_t kLargestPrefetch = 2 * 1024 * 1024;

    // Makes `count` bytes from the position on (at most kLargestPrefetch), or
    // all the stream still holds, lie in the buffer, keeping the `keep` bytes
    // before the position there too (keep <= bytes already read from the
    // buffer). Pointers into the buffer do not survive it. False when a read
    // failed (GetReadError tells why).
    bool Prefetch(std::uint32_t count, std::uint32_t keep);
    std::uint32_t Buffered() const { return m_nBufferLength - m_nBufferIndex; }
    // The buffered byte at the position; writable, as readers hand it on.
    std::uint8_t* BufferedBytes() { return m_pBuffer + m_nBufferIndex; }
    // Moves the position forward over buffered bytes, or back over kept ones.
    void Advance(std::uint32_t count) { m_nBufferIndex += count; }
    void StepBack(std::uint32_t count) { m_nBufferIndex -= count; }
    // Stream position of the next byte that Read delivers.
    std::uint64_t StreamPosition() const { return m_nBufferStart + m_nBufferIndex; }

private:
    // Reads ask the system for this much at least: fewer calls, while the
    // bytes still come from the processor's cache when they are used.
    static constexpr std::uint32_t kReadChunk = 256 * 1024;
    static constexpr std::uint32_t kBufferSize = kLargestPrefetch + kReadChunk;
    // Buffered bytes few enough to move to the front before every read.
    static constexpr std::uint32_t kCheapMove = 64 * 1024;
    // The most of one mapped part that the buffer bookkeeping shows at once.
    static constexpr std::uint32_t kMappedWindow = 1u << 30;

    // The name that follows `path` in its chain, or empty when none does.
    static std::string NextPartName(const std::string& path);

    // Lists an opened part at its size and, while `map` holds, maps it from
    // the same descriptor, so no part is opened twice; answers whether the
    // parts after it are still to be mapped.
    bool ListPart(const CBaseFile& part, bool map);
    // Opens a listed part like CBaseFile::Open, releasing only the handle of
    // the open part, so a derived reader keeps its state across parts.
    HRESULT OpenPart(const std::string& path);
    void DropBuffer();
    // Shows the mapped part that holds the kept and the wanted bytes whole.
    bool MapWindow(std::uint32_t count, std::uint32_t keep);
    // Prefetch through the owned block buffer.
    bool FillOwnedBuffer(std::uint32_t count, std::uint32_t keep);
    bool FillFromIndex(std::uint32_t count, std::uint32_t keep);
    // Next bytes of the stream from stream position `position` on: copied
    // from the mappings, or read from the parts.
    HRESULT Fetch(std::uint64_t position, std::uint8_t* destination, std::uint32_t count, std::uint32_t* got);
    // Moves the bytes from `keep` before the position on to the buffer's front.
    void Compact(std::uint32_t keep);
    // Reads from the parts themselves, moving on to following parts until the
    // count is met or the chain ends.
    HRESULT ReadParts(std::uint8_t* destination, std::uint32_t count, std::uint32_t* read);
    HRESULT OpenFollowingPart(bool* opened);
    std::uint64_t SizeOfPartsBefore(std::size_t part) const;
    HRESULT SeekOutsideBuffer(std::uint64_t target);
    HRESULT Failed(HRESULT result);

    PartMappings m_mappings;
    std::vector<std::uint8_t> m_buffer;
    // The bytes the position moves over: m_buffer or a window of a mapped part.
    std::uint8_t* m_pBuffer = nullptr;
    std::uint64_t m_nBufferStart = 0; // stream position of m_pBuffer[0]
    std::uint32_t m_nBufferLength = 0;
    std::uint32_t m_nBufferIndex = 0;
    HRESULT m_hrReadError = S_OK;
    // Set while the open handle is a part opened by this class, so the
    // buffer bookkeeping gives the position without asking the system.
    bool m_bReadingChain = false;
};
