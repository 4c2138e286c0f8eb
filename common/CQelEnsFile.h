#pragma once
#include "CMultiBaseFile.h"
#include "RunningByteSums.h"

#include <cstdint>

// Pulls the binary ensembles of a (multi-part) stream one by one, skipping
// damaged bytes and resynchronising after a bad candidate. A candidate is
// judged inside the read buffer, so resynchronising never seeks and a pipe
// reads as well as a file.
class CQelEnsFile : public CMultiBaseFile {
public:
    // 0: header id 0x7F only, 1: 0x79 only, 2: both.
    explicit CQelEnsFile(int headerMode = 0);
    ~CQelEnsFile() override;

    void Close() override;
    HRESULT Open(std::string name);
    // Size of the next valid ensemble, now in m_pEnsemble; 0 when there is
    // none (GetReadError tells a failed read from the end of the data).
    int ReadNextEnsemble();
    int GetEnsembleSize() const;
    std::uint16_t ComputeChecksum() const;
    std::uint16_t GetStoredChecksum() const;

    // The current ensemble in place in the read buffer, null when there is
    // none; callers may change its bytes. Valid until the next
    // ReadNextEnsemble, Close or destruction.
    std::uint8_t* m_pEnsemble = nullptr;
    bool m_bFoundEnsemble = false;
    int m_nHeaderMode;

private:
    enum class Candidate { Valid, Rejected, EndOfStream };

    void ForgetDamage();
    bool AcceptsHeaderId(int id) const;
    // Scans up to and over the id byte of the next header; false at the end
    // of the stream, on a failed read or on giving up.
    bool ScanToHeader(std::uint64_t* counted);
    bool GivesUp(std::uint64_t counted) const;
    // Judges the candidate whose id byte was just scanned; a valid one is
    // left in m_pEnsemble and passed over. Counts a full body towards the
    // give-up rule; a rejected one leaves the position after its id byte.
    Candidate JudgeCandidate(std::uint64_t* counted);
    // The candidate's checksum; `start` is its stream position.
    std::uint16_t ChecksumOf(std::uint64_t start, std::uint8_t* candidate, std::uint32_t size);
    static std::uint16_t StoredChecksum(const std::uint8_t* ensemble, std::uint32_t size);

    // Candidates that begin before this stream position overlap bytes that
    // rejected candidates already summed: they take their sums from m_sums,
    // so a long false candidate costs no second pass over its bytes.
    std::uint64_t m_nDamageEnd = 0;
    RunningByteSums m_sums;
};
