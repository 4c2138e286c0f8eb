#pragma once
#include "CQelEnsFile.h"
#include "CRunOutput.h"

#include <cstdint>
#include <string>
#include <vector>

class IProgress;

// What a slicing run is given: the field texts and the size in megabytes.
struct SliceSettings {
    std::string input;
    std::string prefix;
    std::string sizeText;
    double size = 0;
};

// Cuts an ensemble file into slices "<prefix>AAA.BBB": a new restart number A
// when the ensemble numbering starts again, a new size number B when the next
// ensemble would pass the size limit. Only valid 7F 7F ensembles are copied.
class CSlicer {
public:
    explicit CSlicer(SliceSettings settings);

    // Checks the settings, opens the input and the first slice; shows the
    // message and answers false when the run cannot start.
    bool Prepare();
    // Copies the ensembles; true at the end of the input or on Cancel, false
    // when a slice could not be opened or written.
    bool Slice(IProgress& progress);

    // Names of the slices created so far, in order.
    const std::vector<std::string>& Slices() const { return m_slices; }

    // size x 1 MiB, rounded, low 32 bits (0 for sizes no slice could use).
    static std::uint32_t LimitBytes(double size);
    // "0" (no limit) or 0.5 to 200 MB.
    static bool IsSizeAccepted(const std::string& sizeText, std::uint32_t limit);
    // A point in the prefix's last path component.
    static bool HasExtension(const std::string& prefix);
    static std::string SliceName(const std::string& prefix, int restarts, int sizeSteps);

private:
    // Closes the current slice and creates `name` (asking before replacing);
    // false with the message shown when it cannot or may not.
    bool OpenSliceFile(const std::string& name);
    bool IsInputPart(const std::string& name) const;
    bool OpenNextSlice();
    bool WriteEnsemble(const std::uint8_t* data, std::uint32_t size);
    // What the run wrote before it asks to replace a slice; empty before the first.
    std::string SlicesWrittenText() const;

    SliceSettings m_settings;
    std::uint32_t m_nLimit = 0;
    CQelEnsFile m_input;
    CRunOutput m_slice;
    std::uint64_t m_nSliceSize = 0;
    int m_nRestarts = 0;
    int m_nSizeSteps = 0;
    std::vector<std::string> m_slices;
};
