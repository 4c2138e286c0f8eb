#pragma once
#include "CBackgroundJob.h"
#include "CBaseFile.h"
#include "CReadBuffer.h"
#include "PartFileEntry.h"

#include <cstdint>
#include <string>
#include <vector>

// One read-only stream over a chain of numbered part files
// ("name_000001.ext" ... or "name.001" ...), with one length and one position.
// Parts are read, never mapped, through one block buffer, so a medium that
// fails or a part that shrinks is a failed read, never a signal. The next
// block of a regular part is read by a second thread into a spare buffer
// while the caller works on this one, where memory and threads allow. The
// block buffer itself comes with the reads and grows to what the stream
// needs: std::bad_alloc when the room a read needs cannot be had. A stream
// whose rest fits in the buffer is read whole and needs no second thread.
class CMultiBaseFile : public CBaseFile {
public:
    ~CMultiBaseFile() override = default;

    // Closes the open part and drops buffered bytes; the part list stays.
    void Close() override;

    // Fails also when a later part exists but is no regular file or cannot be
    // opened (GetFailedLaterPart names it); only a missing name ends the chain.
    HRESULT Open(std::string name);
    std::string GetNextPartName() const;
    HRESULT Read(void* buffer, std::uint32_t count, std::uint32_t* read = nullptr);
    HRESULT Seek(std::int64_t offset, int origin, std::uint64_t* newPosition = nullptr);
    std::uint64_t GetPosition();
    std::uint64_t GetTotalLength() const;
    // The failure of a read that ended the stream early; S_OK while every
    // read reached the data or the true end. Bytes read before the failure are
    // still delivered, every read after them fails. Only Close and Open clear
    // it, so a seek after the failure never lets a partial read pass for a whole.
    HRESULT GetReadError() const { return m_hrReadError; }
    // The full path of the later part that a failed Open or read could not
    // open or read; empty when the failure lay in the first part.
    const std::string& GetFailedLaterPart() const { return m_strFailedLaterPart; }
    // The read failed because the following part would not open, not while
    // a part that opened was read.
    bool ReadFailedOpeningPart() const { return m_bFailedOpeningPart; }
    // The read error of a part that ended before its measured size.
    static constexpr HRESULT kPartBecameShorter = HRESULT_FROM_WIN32(38); // ERROR_HANDLE_EOF
    // The failure of a later part that is a pipe, FIFO, device or folder: it
    // has no size to place the parts after it, and reading a device may change it.
    static constexpr HRESULT kNotARegularPart = HRESULT_FROM_WIN32(222); // ERROR_BAD_FILE_TYPE

    std::vector<PartFileEntry> m_parts;
    int m_nCurrentPart = 0;

protected:
    // Open on a chain, also after a part that failed to open closed the
    // handle: the bytes read before that failure still arrive.
    bool IsChainOpen() const { return m_bReadingChain || IsOpen(); }

    // The largest count Prefetch can hold after the bytes it keeps.
    static constexpr std::uint32_t kLargestPrefetch = 2 * 1024 * 1024;

    // Makes `count` bytes from the position on (at most kLargestPrefetch
    // less `keep`), or all the stream still holds, lie in the buffer, keeping
    // the `keep` bytes before the position there too (keep <= bytes already
    // read from the buffer). Pointers into the buffer do not survive it.
    // False when a read failed (GetReadError tells why).
    bool Prefetch(std::uint32_t count, std::uint32_t keep);
    std::uint32_t Buffered() const { return m_nBufferLength - m_nBufferIndex; }
    // The buffered byte at the position; writable, as readers hand it on.
    std::uint8_t* BufferedBytes() { return m_buffer.Data() + m_nBufferIndex; }
    // Moves the position forward over buffered bytes, or back over kept ones.
    void Advance(std::uint32_t count) { m_nBufferIndex += count; }
    void StepBack(std::uint32_t count) { m_nBufferIndex -= count; }
    // Stream position of the next byte that Read delivers.
    std::uint64_t StreamPosition() const { return m_nBufferStart + (m_nBufferIndex - m_nBufferFront); }

private:
    // Reads ask the system for this much at least: fewer calls, while the
    // bytes still come from the processor's cache when they are used.
    static constexpr std::uint32_t kReadChunk = 256 * 1024;
    // What one read-ahead job reads: few enough hand-overs between the
    // threads that waking the other one costs next to nothing.
    static constexpr std::uint32_t kAheadChunk = 4 * 1024 * 1024;
    static constexpr std::uint32_t kBufferSize = kLargestPrefetch + kAheadChunk;
    // Buffered bytes few enough to move to the front before every read.
    static constexpr std::uint32_t kCheapMove = 64 * 1024;
    // The first buffer of a stream of unknown length, which doubles while
    // reads fill it.
    static constexpr std::uint32_t kFirstStreamBuffer = kReadChunk;

    // The name that follows `path` in its chain, or empty when none does.
    static std::string NextPartName(const std::string& path);

    // Lists the parts after the open first one, each measured when opened.
    HRESULT ListLaterParts();
    // Opens a listed part like CBaseFile::Open, releasing only the handle of
    // the open part, so a derived reader keeps its state across parts.
    HRESULT OpenPart(std::size_t part);
    void DropBuffer();
    bool FillFromIndex(std::uint32_t count, std::uint32_t keep);
    // Reads from the parts into the buffer itself until `count` bytes lie
    // there, or the whole rest of the stream when the buffer holds it.
    bool ReadIntoBuffer(std::uint32_t count, std::uint32_t keep);
    // Bytes from the position to the end of the stream, when it has a length.
    std::uint64_t KnownRest() const;
    // The buffer size a read of `count` bytes that keeps `keep` would like.
    std::uint32_t WantedCapacity(std::uint32_t count, std::uint32_t keep) const;
    // Grows the buffer towards WantedCapacity, moving the bytes from `keep`
    // before the position on to its front; std::bad_alloc only when the
    // buffer cannot take `keep + count` bytes.
    void GrowBuffer(std::uint32_t count, std::uint32_t keep);
    // Reads the open part's next block into the spare buffer in the
    // background, when the part is a regular one with bytes left.
    void StartReadAhead();
    // Waits for that block and makes the spare buffer, with the block behind
    // the held bytes, the buffer; a failed read gives the bytes it got before
    // the failure.
    void TakeReadAhead(std::uint32_t keep);
    // Moves the bytes from `keep` before the position on to the buffer's front.
    void Compact(std::uint32_t keep);
    // The bookkeeping of a move of the bytes from `from` on to the front.
    void MovedToFront(std::uint32_t from, std::uint32_t keep);
    // Reads from the parts themselves, moving on to following parts until the
    // count is met or the chain ends.
    HRESULT ReadParts(std::uint8_t* destination, std::uint32_t count, std::uint32_t* read);
    // At the end of the open part: opens the following one, if any.
    HRESULT OpenFollowingPart(bool* opened);
    std::uint64_t SizeOfPartsBefore(std::size_t part) const;
    HRESULT SeekOutsideBuffer(std::uint64_t target);
    // Records that reading part number `part` failed; answers `result`.
    HRESULT PartFailed(std::size_t part, HRESULT result);

    CReadBuffer m_buffer;
    std::uint64_t m_nBufferStart = 0; // stream position of m_buffer[m_nBufferFront]
    std::uint32_t m_nBufferFront = 0; // bytes before it are no stream bytes
    std::uint32_t m_nBufferLength = 0;
    std::uint32_t m_nBufferIndex = 0;
    // Bytes read so far from the open part, to tell its end from a shrinking.
    std::uint64_t m_nPartRead = 0;
    HRESULT m_hrReadError = S_OK;
    std::string m_strFailedLaterPart;
    bool m_bFailedOpeningPart = false;
    // Set while the open handle is a part opened by this class, so the
    // buffer bookkeeping gives the position without asking the system.
    bool m_bReadingChain = false;
    // The chain began with a regular file, so its length is the parts' sizes.
    bool m_bLengthKnown = false;
    // The read-ahead block lands at kLargestPrefetch, leaving room before it
    // for the bytes the buffer still holds when the two change places.
    CReadBuffer m_spare;
    std::uint32_t m_nAheadRead = 0;
    HRESULT m_hrAhead = S_OK;
    // Set once the system refused the spare buffer or the thread: from then
    // on the caller's thread does all the reading.
    bool m_bNoReadAhead = false;
    // Last, so the thread is joined before the buffers go.
    CBackgroundJob m_readAhead;
};
