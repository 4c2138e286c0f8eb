#pragma once
#include "CBaseFile.h"
#include "CQelEnsFile.h"
#include "CRunOutput.h"

#include <string>

class CTextLineReader;
class CDecoder;
class IProgress;

// The texts of the merger's fields, as typed.
struct MergeFields {
    std::string input;
    std::string output;
    std::string decoder;
    std::string ascii;
    std::string start;
    std::string end;
};

// One merge run: the values of an ASCII file written into the ensembles of a
// range through a decoder, each changed ensemble written out with a fresh
// checksum. Messages go through platform::ShowMessage.
class CMergeRun {
public:
    enum class Outcome {
        NormalEnd,      // end of input, range stop, Cancel, or no valid ensemble at all
        AsciiExhausted, // the ASCII file had no line left for an ensemble
        AsciiLineTooLong, // ended as AsciiExhausted, at a line too long to read
        Failed,         // a check, an open, the decoder or a write failed
    };

    explicit CMergeRun(MergeFields fields);
    ~CMergeRun();
    CMergeRun(const CMergeRun&) = delete;
    CMergeRun& operator=(const CMergeRun&) = delete;

    // Checks the names, opens the inputs and creates the output; false (with
    // its message, or after the user declined a replace) ends the run.
    bool Open();
    // The merge itself, once Open succeeded and the progress window is up.
    Outcome Merge(IProgress& progress);

private:
    bool CheckNames() const;
    // Moving the progress bar costs far more than merging one ensemble, so
    // it moves in steps of a thousandth of the input.
    bool OutputIsAnInput() const;
    Outcome MergeEnsembles(CDecoder& decoder, CTextLineReader& ascii, IProgress& progress);
    Outcome EndNormally();
    // The ASCII file gave no line for an ensemble: what was merged is kept.
    Outcome EndAtAsciiEnd(const CTextLineReader& ascii);

    MergeFields m_fields;
    CQelEnsFile m_input{0};
    CBaseFile m_decoderFile;
    CBaseFile m_asciiFile;
    // The merge changes its copy at the end of the pending output, never the
    // input's bytes.
    CRunOutput m_output;
};
