#include "CQelEnsFile.h"

#include "CQelEns.h"

#include <new>

namespace {

constexpr int kHeaderByte = 0x7F;
constexpr int kEnsembleId = 0x7F;
constexpr int kWavesId = 0x79;
constexpr std::uint32_t kSmallestEnsemble = 6;
constexpr std::uint32_t kLargestEnsemble = 1000000;
// Bytes scanned before the first valid ensemble after which a file is taken
// to hold no ensembles at all.
constexpr std::uint64_t kGiveUpCount = 262140;

} // namespace

CQelEnsFile::CQelEnsFile(int headerMode)
    : m_nHeaderMode(headerMode)
{
}

CQelEnsFile::~CQelEnsFile()
{
    FreeEnsemble();
}

void CQelEnsFile::Close()
{
    CMultiBaseFile::Close();
    FreeEnsemble();
}

void CQelEnsFile::FreeEnsemble()
{
    delete[] m_pEnsemble;
    m_pEnsemble = nullptr;
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
    FreeEnsemble();
    if (!IsOpen())
        return 0;
    std::uint64_t counted = 0;
    bool armed = false;
    for (;;) {
        const int byte = ReadByte();
        if (byte < 0)
            return 0;
        ++counted;
        if (!m_bFoundEnsemble && counted > kGiveUpCount)
            return 0;
        if (!armed || !AcceptsHeaderId(byte)) {
            armed = byte == kHeaderByte;
            continue;
        }
        const std::uint64_t afterId = StreamPosition();
        const Candidate candidate = ReadCandidate(static_cast<std::uint8_t>(byte), &counted);
        if (candidate == Candidate::Valid) {
            m_bFoundEnsemble = true;
            return CQelEns(m_pEnsemble).GetEnsembleSize();
        }
        if (candidate == Candidate::EndOfStream)
            return 0;
        // Resume with the id byte of the rejected header.
        if (FAILED(Seek(static_cast<std::int64_t>(afterId) - 1, 0)))
            return 0;
        armed = false;
    }
}

CQelEnsFile::Candidate CQelEnsFile::ReadCandidate(std::uint8_t id, std::uint64_t* counted)
{
    std::uint8_t count[3] = {};
    std::uint32_t got = 0;
    if (FAILED(Read(count, 2, &got)) || got < 2)
        return Candidate::EndOfStream;
    if (FAILED(Read(count + 2, 1, &got)) || got == 0)
        return Candidate::EndOfStream;
    const std::uint32_t size = (static_cast<std::uint32_t>(count[2]) << 16)
                               + (static_cast<std::uint32_t>(count[1]) << 8) + count[0] + 2;
    if (size < kSmallestEnsemble || size > kLargestEnsemble)
        return Candidate::Rejected;

    auto* ensemble = new (std::nothrow) std::uint8_t[size];
    if (!ensemble)
        return Candidate::EndOfStream;
    ensemble[0] = kHeaderByte;
    ensemble[1] = id;
    ensemble[2] = count[0];
    ensemble[3] = count[1];
    ensemble[4] = count[2];
    const std::uint32_t body = size - 5;
    HRESULT result = Read(ensemble + 5, body, &got);
    if (SUCCEEDED(result) && got == 0) {
        delete[] ensemble;
        return Candidate::EndOfStream;
    }
    if (FAILED(result) || got < body) {
        delete[] ensemble;
        return Candidate::Rejected;
    }
    *counted += body;
    const CQelEns view(ensemble);
    if (view.ComputeChecksum() != StoredChecksum(ensemble, size)) {
        delete[] ensemble;
        return Candidate::Rejected;
    }
    m_pEnsemble = ensemble;
    return Candidate::Valid;
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
