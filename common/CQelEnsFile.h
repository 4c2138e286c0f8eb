#pragma once
#include "CMultiBaseFile.h"

#include <cstdint>
#include <vector>

// Pulls the binary ensembles of a (multi-part) stream one by one, skipping
// damaged bytes and resynchronising after a bad candidate.
class CQelEnsFile : public CMultiBaseFile {
public:
    // 0: header id 0x7F only, 1: 0x79 only, 2: both.
    explicit CQelEnsFile(int headerMode = 0);
    ~CQelEnsFile() override;

    void Close() override;
    HRESULT Open(std::string name);
    // Size of the next valid ensemble, now in m_pEnsemble; 0 when there is none.
    int ReadNextEnsemble();
    int GetEnsembleSize() const;
    std::uint16_t ComputeChecksum() const;
    std::uint16_t GetStoredChecksum() const;

    std::uint8_t* m_pEnsemble = nullptr;
    bool m_bFoundEnsemble = false;
    int m_nHeaderMode;

private:
    enum class Candidate { Valid, Rejected, EndOfStream };

    void FreeEnsemble();
    bool AcceptsHeaderId(int id) const;
    // Reads the rest of a candidate whose header was just scanned; a valid
    // one is left in m_pEnsemble. Counts its body towards the give-up rule.
    Candidate ReadCandidate(std::uint8_t id, std::uint64_t* counted);
    static std::uint16_t StoredChecksum(const std::uint8_t* ensemble, std::uint32_t size);
};
