#include "CQelEnsFile.h"

#include "CQelEns.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint8_t kHeaderByte = 0x7F;
constexpr int kEnsembleId = 0x7F;
constexpr int kWavesId = 0x79;
constexpr std::uint32_t kSmallestEnsemble = 6;
constexpr std::uint32_t kLargestEnsemble = 1000000;
// Header byte, id and the three byte-count bytes.
constexpr std::uint32_t kHeaderSize = 5;
// Bytes scanned before the first valid ensemble after which a file is taken
// to hold no ensembles at all.
constexpr std::uint64_t kGiveUpCount = 262140;

} // namespace

CQelEnsFile::CQelEnsFile(int headerMode)
    : m_nHeaderMode(headerMode)
{
}

CQelEnsFile::~CQelEnsFile() = default;

void CQelEnsFile::Close()
{
    CMultiBaseFile::Close();
    m_pEnsemble = nullptr;
    ForgetDamage();
}

void CQelEnsFile::ForgetDamage()
{
    m_nDamageEnd = 0;
    m_sums.Reset();
}

HRESULT CQelEnsFile::Open(std::string name)
{
    m_bFoundEnsemble = false;
    return CMultiBaseFile::Open(std::move(name));
}

bool CQelEnsFile::AcceptsHeaderId(int id) const
{
    switch (m_nHeaderMode) {
    case 0: return id == kEnsembleId;
    case 1: return id == kWavesId;
    case 2: return id == kEnsembleId || id == kWavesId;
    default: return false;
    }
}

int CQelEnsFile::ReadNextEnsemble()
{
    m_pEnsemble = nullptr;
    if (!IsChainOpen())
        return 0;
    std::uint64_t counted = 0;
    while (ScanToHeader(&counted)) {
        const Candidate candidate = JudgeCandidate(&counted);
        if (candidate == Candidate::Valid) {
            m_bFoundEnsemble = true;
            return CQelEns(m_pEnsemble).GetEnsembleSize();
        }
        if (candidate == Candidate::EndOfStream)
            return 0;
        // Resume with the id byte of the rejected header.
        StepBack(1);
    }
    return 0;
}

bool CQelEnsFile::GivesUp(std::uint64_t counted) const
{
    return !m_bFoundEnsemble && counted > kGiveUpCount;
}

bool CQelEnsFile::ScanToHeader(std::uint64_t* counted)
{
    // Every scanned byte counts, as if read one at a time; "armed" means the
    // byte before is a header byte, which a refill keeps in the buffer.
    bool armed = false;
    for (;;) {
        if (Buffered() == 0 && (!Prefetch(1, armed ? 1 : 0) || Buffered() == 0))
            return false;
        std::uint8_t* next = BufferedBytes();
        if (armed) {
            const int byte = *next;
            Advance(1);
            if (GivesUp(++*counted))
                return false;
            if (AcceptsHeaderId(byte))
                return true;
            armed = byte == kHeaderByte;
            continue;
        }
        std::uint32_t span = Buffered();
        if (!m_bFoundEnsemble)
            span = static_cast<std::uint32_t>(std::min<std::uint64_t>(
                span, *counted >= kGiveUpCount ? 1 : kGiveUpCount + 1 - *counted));
        const auto* header = static_cast<const std::uint8_t*>(std::memchr(next, kHeaderByte, span));
        const std::uint32_t step = header ? static_cast<std::uint32_t>(header - next) + 1 : span;
        Advance(step);
        *counted += step;
        if (GivesUp(*counted))
            return false;
        armed = header != nullptr;
    }
}

CQelEnsFile::Candidate CQelEnsFile::JudgeCandidate(std::uint64_t* counted)
{
    static_assert(kLargestEnsemble <= kLargestPrefetch, "a candidate must fit in the buffer");
    // The header byte and the id stay in the buffer before the position.
    constexpr std::uint32_t kScanned = 2;
    constexpr std::uint32_t kCountBytes = kHeaderSize - kScanned;
    if (!Prefetch(kCountBytes, kScanned))
        return Candidate::EndOfStream;
    if (Buffered() < kCountBytes) {
        Advance(Buffered());
        return Candidate::EndOfStream;
    }
    const auto size = static_cast<std::uint32_t>(CQelEns(BufferedBytes() - kScanned).GetEnsembleSize());
    if (size < kSmallestEnsemble || size > kLargestEnsemble)
        return Candidate::Rejected;
    const std::uint32_t rest = size - kScanned;
    // After a failed read the bytes that did arrive are judged as at the end
    // of the data: a false candidate may hide whole ensembles in them.
    Prefetch(rest, kScanned);
    if (Buffered() == kCountBytes) {
        Advance(kCountBytes);
        return Candidate::EndOfStream;
    }
    if (Buffered() < rest)
        return Candidate::Rejected;
    *counted += size - kHeaderSize;
    std::uint8_t* candidate = BufferedBytes() - kScanned;
    const std::uint64_t start = StreamPosition() - kScanned;
    if (ChecksumOf(start, candidate, size) != StoredChecksum(candidate, size)) {
        m_nDamageEnd = std::max(m_nDamageEnd, start + size);
        return Candidate::Rejected;
    }
    m_pEnsemble = candidate;
    Advance(rest);
    return Candidate::Valid;
}

std::uint16_t CQelEnsFile::ChecksumOf(std::uint64_t start, std::uint8_t* candidate, std::uint32_t size)
{
    if (start >= m_nDamageEnd)
        return CQelEns(candidate).ComputeChecksum();
    return m_sums.Sum(start, candidate, size - 2);
}

std::uint16_t CQelEnsFile::StoredChecksum(const std::uint8_t* ensemble, std::uint32_t size)
{
    return static_cast<std::uint16_t>(ensemble[size - 2] | (ensemble[size - 1] << 8));
}

int CQelEnsFile::GetEnsembleSize() const
{
    return CQelEns(m_pEnsemble).GetEnsembleSize();
}

std::uint16_t CQelEnsFile::ComputeChecksum() const
{
    return CQelEns(m_pEnsemble).ComputeChecksum();
}

std::uint16_t CQelEnsFile::GetStoredChecksum() const
{
    if (!m_pEnsemble)
        return 0;
    return StoredChecksum(m_pEnsemble, static_cast<std::uint32_t>(GetEnsembleSize()));
}
