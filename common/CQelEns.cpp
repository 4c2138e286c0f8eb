#include "CQelEns.h"


#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

std::uint32_t ReadU16(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8);
}

std::uint32_t ByteCount(const std::uint8_t* ensemble)
{
    return (static_cast<std::uint32_t>(ensemble[4]) << 16) + ReadU16(ensemble + 2);
}

#if defined(__SSE2__)
// The two eight-byte sums of sixteen bytes.
__m128i SumBlock(const std::uint8_t* bytes)
{
    return _mm_sad_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes)), _mm_setzero_si128());
}
#endif

// Readers check every byte of every ensemble, so the sum runs sixteen bytes
// at a time where the processor can, two blocks per step to halve the loop's
// own work.
std::uint32_t SumBytes(const std::uint8_t* bytes, std::uint32_t count)
{
    std::uint32_t sum = 0;
#if defined(__SSE2__)
    __m128i halves = _mm_setzero_si128();
    for (; count >= 32; count -= 32, bytes += 32)
        halves = _mm_add_epi64(halves, _mm_add_epi64(SumBlock(bytes), SumBlock(bytes + 16)));
    if (count >= 16) {
        halves = _mm_add_epi64(halves, SumBlock(bytes));
        count -= 16;
        bytes += 16;
    }
    sum = static_cast<std::uint32_t>(_mm_cvtsi128_si64(halves) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(halves, halves)));
#endif
    for (; count > 0; --count)
        sum += *bytes++;
    return sum;
}

// A data type lies behind the header and the offset table, its id inside the
// ensemble; any other entry is none, so nothing ever takes the header, the
// table or the checksum for a data type.
bool IsDataTypeOffset(std::uint32_t offset, std::uint32_t types, std::uint32_t byteCount)
{
    return offset >= 6 + 2 * types && offset + 2 <= byteCount;
}

} // namespace

CQelEns::CQelEns(std::uint8_t* data)
    : m_pData(data)
{
}

CQelEns::~CQelEns()
{
    Free();
}

void CQelEns::Free()
{
    if (!m_bOwnData)
        return;
    delete[] m_pData;
    m_pData = nullptr;
    m_bOwnData = false;
}

int CQelEns::GetEnsembleSize() const
{
    if (!m_pData)
        return 0;
    return static_cast<int>(ByteCount(m_pData) + 2);
}

std::uint16_t CQelEns::ComputeChecksum() const
{
    if (!m_pData)
        return 0;
    return static_cast<std::uint16_t>(SumBytes(m_pData, ByteCount(m_pData)));
}

void CQelEns::UpdateChecksum()
{
    if (!m_pData)
        return;
    const std::uint16_t checksum = ComputeChecksum();
    std::uint8_t* stored = m_pData + ByteCount(m_pData);
    stored[0] = static_cast<std::uint8_t>(checksum & 0xFF);
    stored[1] = static_cast<std::uint8_t>(checksum >> 8);
}

std::uint8_t* CQelEns::FindDataType(std::uint16_t id, int* size) const
{
    if (!m_pData)
        return nullptr;
    const std::uint32_t byteCount = ByteCount(m_pData);
    if (byteCount < 6)
        return nullptr;
    const std::uint32_t types = m_pData[5];
    if (6 + 2 * types > byteCount)
        return nullptr;
    for (std::uint32_t i = 0; i < types; ++i) {
        const std::uint32_t offset = ReadU16(m_pData + 6 + 2 * i);
        if (!IsDataTypeOffset(offset, types, byteCount) || ReadU16(m_pData + offset) != id)
            continue;
        std::uint32_t end = byteCount;
        if (i + 1 < types) {
            const std::uint32_t next = ReadU16(m_pData + 6 + 2 * (i + 1));
            // A next offset behind this one or past the ensemble cannot end
            // the data type; it then reaches to the end of the ensemble.
            if (next >= offset && next <= byteCount)
                end = next;
        }
        if (size)
            *size = static_cast<int>(end - offset);
        return m_pData + offset;
    }
    return nullptr;
}

std::uint16_t CQelEns::GetDataTypeId(int index) const
{
    if (!m_pData || index < 0 || index >= m_pData[5])
        return 0;
    constexpr std::uint16_t kNoId = 0xFFFF;
    const std::uint32_t byteCount = ByteCount(m_pData);
    const std::uint32_t entry = 6 + 2 * static_cast<std::uint32_t>(index);
    if (entry + 2 > byteCount)
        return kNoId;
    const std::uint32_t offset = ReadU16(m_pData + entry);
    if (!IsDataTypeOffset(offset, m_pData[5], byteCount))
        return kNoId;
    return static_cast<std::uint16_t>(ReadU16(m_pData + offset));
}
