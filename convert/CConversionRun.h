#pragma once
#include "CBaseFile.h"
#include "CDecoder.h"
#include "CEnsembleDecoding.h"
#include "CQelEnsFile.h"
#include "CRunOutput.h"

#include <string>

class IProgress;

// One conversion of the ensembles of an input file to text lines through a
// decoder file. It owns its files and its decoder for the run's length and
// reaches the user only through messages and the progress interface.
class CConversionRun {
public:
    // The dialog's field texts as typed.
    struct Fields {
        std::string input;
        std::string output;
        std::string decoder;
        std::string start;
        std::string end;
    };

    explicit CConversionRun(Fields fields);

    // Checks the names and opens the input, the decoder and the output. False
    // when the run ends here: its message was shown, or the user kept an
    // existing output.
    bool OpenFiles();
    // Converts every ensemble of the range. True at a normal end (end of the
    // input, range stop, Cancel, an input without ensembles); false after a
    // decoder or write error.
    bool Convert(IProgress& progress);

private:
    bool CheckNames() const;
    // The output must not be the input (any part of its chain) or the decoder.
    bool OutputIsAnInput() const;
    bool ConvertEnsembles(IProgress& progress);
    // False, with the lines of what was read written, after a failed read.
    bool InputReadWhole();
    bool FinishNormally();

    Fields m_fields;
    CQelEnsFile m_input{0};
    CBaseFile m_decoderFile;
    CRunOutput m_output;
    CDecoder m_decoder;
    CEnsembleDecoding m_decoding{m_decoder};
};
