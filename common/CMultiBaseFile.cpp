#include "CMultiBaseFile.h"

#include "FilePaths.h"
#include "Format.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <sys/stat.h>

namespace {

bool AllDigits(const std::string& text, std::size_t from, std::size_t count)
{
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

unsigned long DigitsValue(const std::string& text, std::size_t from, std::size_t count)
{
    return std::strtoul(text.substr(from, count).c_str(), nullptr, 10);
}

// Unreachable: the name is there but cannot be looked at; opening it tells why.
enum class PartKind { Missing, RegularFile, Other, Unreachable };

// What a numbered name holds; a link to nothing is no gap in the numbering.
PartKind KindOf(const std::string& name)
{
    struct stat st {};
    if (platform::StatName(name, &st) == 0)
        return S_ISREG(st.st_mode) ? PartKind::RegularFile : PartKind::Other;
    return platform::StatName(name, &st, false) != 0 && errno == ENOENT ? PartKind::Missing
                                                                        : PartKind::Unreachable;
}

} // namespace

std::string CMultiBaseFile::NextPartName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    const std::string directory = path.substr(0, nameStart);
    const bool hasExtension = dot != std::string::npos && dot >= nameStart;
    const std::string title = path.substr(nameStart, hasExtension ? dot - nameStart : std::string::npos);
    const std::string extension = hasExtension ? path.substr(dot) : std::string();
    if (extension.size() != 4)
        return {};

    const std::size_t titleLength = title.size();
    if (titleLength >= 8 && title[titleLength - 7] == '_' && AllDigits(title, titleLength - 6, 6)) {
        const unsigned long number = DigitsValue(title, titleLength - 6, 6);
        if (number == 999999)
            return {};
        return directory + platform::Format("%s_%06lu", title.substr(0, titleLength - 7).c_str(), number + 1)
               + extension;
    }
    if (AllDigits(extension, 1, 3)) {
        const unsigned long number = DigitsValue(extension, 1, 3);
        if (number == 999)
            return {};
        return directory + title + platform::Format(".%03d", static_cast<int>(number + 1));
    }
    return {};
}

std::string CMultiBaseFile::GetNextPartName() const
{
    return NextPartName(m_strPath);
}

void CMultiBaseFile::Close()
{
    m_readAhead.Stop();
    CBaseFile::Close();
    DropBuffer();
    m_nPartRead = 0;
    m_hrReadError = S_OK;
    m_strFailedLaterPart.clear();
    m_bFailedOpeningPart = false;
    m_bReadingChain = false;
    m_bLengthKnown = false;
}

void CMultiBaseFile::DropBuffer()
{
    m_nBufferStart = 0;
    m_nBufferFront = 0;
    m_nBufferLength = 0;
    m_nBufferIndex = 0;
}

HRESULT CMultiBaseFile::Open(std::string name)
{
    Close();
    m_nCurrentPart = 0;
    HRESULT result = CBaseFile::Open(name);
    if (FAILED(result))
        return result;
    m_parts.clear();
    m_parts.push_back({m_strPath, GetLength()});
    result = ListLaterParts();
    if (FAILED(result)) {
        // Closed, but still telling which part failed.
        CloseHandle();
        return result;
    }
    m_bReadingChain = true;
    m_bLengthKnown = !IsStream();
    return S_OK;
}

HRESULT CMultiBaseFile::ListLaterParts()
{
    for (std::string next = GetNextPartName(); !next.empty(); next = NextPartName(next)) {
        const PartKind kind = KindOf(next);
        if (kind == PartKind::Missing)
            return S_OK;
        CBaseFile part;
        HRESULT result = kind == PartKind::Other ? kNotARegularPart : part.Open(next);
        if (SUCCEEDED(result) && part.IsStream())
            result = kNotARegularPart;
        if (FAILED(result)) {
            m_strFailedLaterPart = next;
            return result;
        }
        m_parts.push_back({part.m_strPath, part.GetLength()});
    }
    return S_OK;
}

HRESULT CMultiBaseFile::OpenPart(std::size_t part)
{
    CloseHandle();
    m_nCurrentPart = static_cast<int>(part);
    m_nPartRead = 0;
    HRESULT result = OpenHandle(m_parts[part].m_strName, Disposition::OpenExisting);
    if (SUCCEEDED(result) && part > 0 && IsStream()) {
        CloseHandle();
        result = kNotARegularPart;
    }
    return result;
}

HRESULT CMultiBaseFile::OpenFollowingPart(bool* opened)
{
    *opened = false;
    const auto current = static_cast<std::size_t>(std::max(m_nCurrentPart, 0));
    // A part that ends before its measured size was cut while the run read it.
    if (!IsStream() && m_nPartRead < m_parts[current].m_nSize)
        return PartFailed(current, kPartBecameShorter);
    const std::size_t next = current + 1;
    if (next >= m_parts.size())
        return S_OK;
    HRESULT result = OpenPart(next);
    if (FAILED(result)) {
        m_bFailedOpeningPart = true;
        return PartFailed(next, result);
    }
    *opened = true;
    return S_OK;
}

HRESULT CMultiBaseFile::ReadParts(std::uint8_t* destination, std::uint32_t count, std::uint32_t* read)
{
    std::uint32_t total = 0;
    HRESULT result = m_hrReadError;
    while (SUCCEEDED(result) && total < count) {
        std::uint32_t got = 0;
        result = CBaseFile::Read(destination + total, count - total, &got);
        m_nPartRead += got;
        total += got;
        if (FAILED(result)) {
            PartFailed(static_cast<std::size_t>(std::max(m_nCurrentPart, 0)), result);
            break;
        }
        if (total == count)
            break;
        // Short means the end of this part; empty parts are passed over too.
        bool opened = false;
        result = OpenFollowingPart(&opened);
        if (!opened)
            break;
    }
    // The bytes read before a failure are delivered; the next read fails.
    if (FAILED(result) && total == 0)
        return result;
    *read = total;
    return S_OK;
}

HRESULT CMultiBaseFile::PartFailed(std::size_t part, HRESULT result)
{
    if (part > 0)
        m_strFailedLaterPart = m_parts[part].m_strName;
    m_hrReadError = result;
    return result;
}

void CMultiBaseFile::Compact(std::uint32_t keep)
{
    const std::uint32_t from = m_nBufferIndex - keep;
    std::memmove(m_buffer.Data(), m_buffer.Data() + from, m_nBufferLength - from);
    MovedToFront(from, keep);
}

void CMultiBaseFile::MovedToFront(std::uint32_t from, std::uint32_t keep)
{
    m_nBufferStart += from - m_nBufferFront;
    m_nBufferFront = 0;
    m_nBufferLength -= from;
    m_nBufferIndex = keep;
}

bool CMultiBaseFile::Prefetch(std::uint32_t count, std::uint32_t keep)
{
    count = std::min(count, kLargestPrefetch - keep);
    if (Buffered() >= count)
        return true;
    // After a failure only the bytes already buffered are left.
    if (FAILED(m_hrReadError))
        return false;
    return FillFromIndex(count, keep);
}

bool CMultiBaseFile::FillFromIndex(std::uint32_t count, std::uint32_t keep)
{
    if (m_readAhead.Pending())
        TakeReadAhead(keep);
    if (Buffered() < count && !ReadIntoBuffer(count, keep))
        return false;
    StartReadAhead();
    return true;
}

bool CMultiBaseFile::ReadIntoBuffer(std::uint32_t count, std::uint32_t keep)
{
    GrowBuffer(count, keep);
    const std::uint32_t capacity = m_buffer.Size();
    const std::uint64_t rest = KnownRest();
    if (keep + rest <= capacity)
        count = std::max(count, static_cast<std::uint32_t>(rest));
    // Reads go to the buffer's front whenever little is left to move, so the
    // bytes land in memory the processor's cache still holds.
    const std::uint32_t request = std::max(count - Buffered(), kReadChunk);
    if (keep + Buffered() <= kCheapMove || m_nBufferLength + request > capacity)
        Compact(keep);
    std::uint8_t* buffer = m_buffer.Data();
    while (Buffered() < count) {
        const std::uint32_t wanted = std::min(std::max(count - Buffered(), kReadChunk), capacity - m_nBufferLength);
        std::uint32_t got = 0;
        if (FAILED(ReadParts(buffer + m_nBufferLength, wanted, &got)))
            return false;
        m_nBufferLength += got;
        if (got < wanted)
            break;
    }
    return true;
}

std::uint64_t CMultiBaseFile::KnownRest() const
{
    if (!m_bLengthKnown)
        return 0;
    const std::uint64_t total = SizeOfPartsBefore(m_parts.size());
    const std::uint64_t position = StreamPosition();
    return total > position ? total - position : 0;
}

std::uint32_t CMultiBaseFile::WantedCapacity(std::uint32_t count, std::uint32_t keep) const
{
    const std::uint32_t size = m_buffer.Size();
    std::uint64_t wanted = size;
    if (m_bLengthKnown)
        wanted = keep + std::max<std::uint64_t>(count, KnownRest());
    else if (size == 0)
        wanted = kFirstStreamBuffer;
    else if (m_nBufferLength == size)
        wanted = 2 * std::uint64_t{size};
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(wanted, keep + count, kBufferSize));
}

void CMultiBaseFile::GrowBuffer(std::uint32_t count, std::uint32_t keep)
{
    const std::uint32_t wanted = WantedCapacity(count, keep);
    if (wanted <= m_buffer.Size())
        return;
    const std::uint32_t from = m_nBufferIndex - keep;
    const std::uint32_t held = m_nBufferLength - from;
    try {
        m_buffer.Resize(wanted, from, held);
    } catch (const std::bad_alloc&) {
        // Less room only means smaller reads, down to what this one needs.
        if (m_buffer.Size() >= keep + count)
            return;
        m_buffer.Resize(keep + count, from, held);
    }
    MovedToFront(from, keep);
}

void CMultiBaseFile::StartReadAhead()
{
    const auto part = static_cast<std::size_t>(std::max(m_nCurrentPart, 0));
    if (m_bNoReadAhead || !m_bReadingChain || !IsOpen() || IsStream() || FAILED(m_hrReadError)
        || m_nPartRead >= m_parts[part].m_nSize)
        return;
    const auto ahead = static_cast<std::uint32_t>(std::min<std::uint64_t>(kAheadChunk, m_parts[part].m_nSize - m_nPartRead));
    try {
        if (m_spare.Size() < kLargestPrefetch + ahead)
            m_spare.Resize(kLargestPrefetch + ahead);
    } catch (const std::bad_alloc&) {
        m_bNoReadAhead = true;
        return;
    }
    // The job touches only the handle, the spare buffer's tail and its result.
    const bool started = m_readAhead.Start([this, destination = m_spare.Data() + kLargestPrefetch, ahead] {
        m_nAheadRead = 0;
        m_hrAhead = CBaseFile::Read(destination, ahead, &m_nAheadRead);
    });
    if (!started) {
        m_bNoReadAhead = true;
        m_spare.Release();
    }
}

void CMultiBaseFile::TakeReadAhead(std::uint32_t keep)
{
    m_readAhead.Wait();
    if (FAILED(m_hrAhead))
        PartFailed(static_cast<std::size_t>(std::max(m_nCurrentPart, 0)), m_hrAhead);
    m_nPartRead += m_nAheadRead;
    // Held bytes are fewer than kLargestPrefetch, as Prefetch asks for more.
    const std::uint32_t from = m_nBufferIndex - keep;
    const std::uint32_t held = m_nBufferLength - from;
    const std::uint32_t front = kLargestPrefetch - held;
    std::memcpy(m_spare.Data() + front, m_buffer.Data() + from, held);
    m_buffer.Swap(m_spare);
    m_nBufferStart += from - m_nBufferFront;
    m_nBufferFront = front;
    m_nBufferIndex = front + keep;
    m_nBufferLength = kLargestPrefetch + m_nAheadRead;
}

HRESULT CMultiBaseFile::Read(void* buffer, std::uint32_t count, std::uint32_t* read)
{
    if (!IsChainOpen())
        return E_FAIL;
    auto* destination = static_cast<std::uint8_t*>(buffer);
    std::uint32_t total = 0;
    bool failed = false;
    while (total < count && !failed) {
        if (Buffered() == 0) {
            if (count - total >= kReadChunk && !m_readAhead.Pending()) {
                // Large reads bypass the buffer instead of copying twice.
                m_nBufferStart += m_nBufferLength - m_nBufferFront;
                m_nBufferFront = 0;
                m_nBufferLength = 0;
                m_nBufferIndex = 0;
                std::uint32_t got = 0;
                failed = FAILED(ReadParts(destination + total, count - total, &got));
                m_nBufferStart += got;
                total += got;
                break;
            }
            failed = !Prefetch(count - total, 0);
            if (Buffered() == 0)
                break;
        }
        const std::uint32_t chunk = std::min(count - total, Buffered());
        std::memcpy(destination + total, BufferedBytes(), chunk);
        Advance(chunk);
        total += chunk;
    }
    // Bytes that arrived before a failed read are delivered; the next read fails.
    if (failed && total == 0)
        return m_hrReadError;
    if (read)
        *read = total;
    return S_OK;
}

HRESULT CMultiBaseFile::Seek(std::int64_t offset, int origin, std::uint64_t* newPosition)
{
    if (!IsOpen() || origin < 0 || origin > 2)
        return E_FAIL;
    const std::uint64_t total = GetTotalLength();
    const std::int64_t base = origin == 0   ? 0
                              : origin == 1 ? static_cast<std::int64_t>(GetPosition())
                                            : static_cast<std::int64_t>(total);
    if (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset)
        return E_FAIL;
    const std::int64_t signedTarget = base + offset;
    if (signedTarget < 0 || static_cast<std::uint64_t>(signedTarget) > total)
        return E_FAIL;
    const auto target = static_cast<std::uint64_t>(signedTarget);

    const bool inBuffer = m_bReadingChain && m_nBufferLength > 0 && target >= m_nBufferStart
                          && target - m_nBufferStart <= m_nBufferLength - m_nBufferFront;
    if (inBuffer) {
        m_nBufferIndex = m_nBufferFront + static_cast<std::uint32_t>(target - m_nBufferStart);
    } else {
        HRESULT result = SeekOutsideBuffer(target);
        if (FAILED(result))
            return result;
    }
    if (newPosition)
        *newPosition = target;
    return S_OK;
}

HRESULT CMultiBaseFile::SeekOutsideBuffer(std::uint64_t target)
{
    // A pipe cannot go back to bytes that left the buffer.
    if (IsStream())
        return E_FAIL;
    // The first part whose end reaches the target; a target at a part's end
    // selects that part, and the next read moves on.
    std::size_t part = 0;
    std::uint64_t before = 0;
    while (part + 1 < m_parts.size() && before + m_parts[part].m_nSize < target) {
        before += m_parts[part].m_nSize;
        ++part;
    }
    m_readAhead.Stop();
    DropBuffer();
    m_nBufferStart = target;
    if (FAILED(OpenPart(part)))
        return E_FAIL;
    m_bReadingChain = true;
    m_nPartRead = target - before;
    return CBaseFile::Seek(static_cast<std::int64_t>(m_nPartRead), 0);
}

std::uint64_t CMultiBaseFile::SizeOfPartsBefore(std::size_t part) const
{
    std::uint64_t size = 0;
    for (std::size_t i = 0; i < part && i < m_parts.size(); ++i)
        size += m_parts[i].m_nSize;
    return size;
}

std::uint64_t CMultiBaseFile::GetPosition()
{
    if (m_bReadingChain)
        return StreamPosition();
    // A file created or opened through the base class: its own position.
    std::uint64_t inner = 0;
    if (FAILED(CBaseFile::Seek(0, 1, &inner)))
        inner = 0;
    return SizeOfPartsBefore(static_cast<std::size_t>(std::max(m_nCurrentPart, 0))) + inner;
}

std::uint64_t CMultiBaseFile::GetTotalLength() const
{
    if (!IsOpen())
        return 0;
    return SizeOfPartsBefore(m_parts.size());
}
