#include "CMergeRun.h"

#include "EnsembleMerge.h"

#include "CTextLineReader.h"
#include "CDecoder.h"
#include "CEnsembleRange.h"
#include "CQelEns.h"
#include "CVarLeader.h"
#include "FilePaths.h"
#include "Format.h"
#include "IProgress.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "RunFiles.h"
#include "resource.h"

#include <utility>

using namespace quenta;

namespace {

bool Refuse(const char* message)
{
    platform::ShowMessage(message);
    return false;
}

} // namespace

CMergeRun::CMergeRun(MergeFields fields) : m_fields(std::move(fields))
{
}

CMergeRun::~CMergeRun() = default;

bool CMergeRun::CheckNames() const
{
    if (m_fields.input.empty())
        return Refuse(kMsgEnterInput);
    if (m_fields.decoder.empty())
        return Refuse(kMsgEnterDecoder);
    if (m_fields.ascii.empty())
        return Refuse(kMsgEnterAscii);
    if (m_fields.output.empty())
        return Refuse(kMsgEnterOutput);
    if (m_fields.input == m_fields.output)
        return Refuse(kMsgSameFile);
    return true;
}

// Creating the output truncates it, so it must not be any file the run reads,
// under whatever name it was given.
bool CMergeRun::OutputIsAnInput() const
{
    const std::string& output = m_fields.output;
    return IsPartOfChain(m_input, output) || platform::SameFile(output, m_fields.decoder)
        || platform::SameFile(output, m_fields.ascii);
}

bool CMergeRun::Open()
{
    if (!CheckNames())
        return false;
    if (const HRESULT opened = m_input.Open(m_fields.input); FAILED(opened)) {
        ShowCannotOpenInput(m_input, m_fields.input, opened);
        return false;
    }
    if (!OpenRunInput(m_decoderFile, m_fields.decoder) || !OpenRunInput(m_asciiFile, m_fields.ascii))
        return false;
    if (OutputIsAnInput())
        return Refuse(kMsgSameFile);
    return m_output.Create(m_fields.output);
}

CMergeRun::Outcome CMergeRun::Merge(IProgress& progress)
{
    progress.Pump();
    progress.SetRange(m_input.GetTotalLength());
    CDecoder decoder;
    if (!decoder.Load(m_decoderFile))
        return Outcome::Failed;
    SaveLastDecoderFileName(m_fields.decoder);
    CTextLineReader ascii(m_asciiFile);
    return MergeEnsembles(decoder, ascii, progress);
}

CMergeRun::Outcome CMergeRun::MergeEnsembles(CDecoder& decoder, CTextLineReader& ascii,
                                             IProgress& progress)
{
    int size = m_input.ReadNextEnsemble();
    if (size == 0) {
        if (!InputReadToItsEnd(m_input, m_fields.input))
            return Outcome::Failed;
        platform::ShowMessage(kMsgNoEnsembles);
        return EndNormally();
    }
    CEnsembleRange range(CEnsembleRange::BoundFromText(m_fields.start),
                         CEnsembleRange::BoundFromText(m_fields.end));
    for (; size != 0; size = m_input.ReadNextEnsemble()) {
        progress.SetPos(m_input.GetPosition());
        CQelEns ensemble(m_input.m_pEnsemble);
        const CEnsembleRange::Step step = range.Classify(CVarLeader(&ensemble).GetEnsembleNumber());
        if (step == CEnsembleRange::Step::Stop)
            break;
        if (step == CEnsembleRange::Step::Process) {
            CQelEns merged(m_output.Append(ensemble.m_pData, static_cast<std::size_t>(size)));
            if (!MergeEnsemble(decoder, merged, ascii)) {
                m_output.DropLast(static_cast<std::size_t>(size));
                return EndAtAsciiEnd(ascii);
            }
            merged.UpdateChecksum();
            if (!m_output.FlushWhenFull()) {
                m_output.Finish(); // tells the failed write
                return Outcome::Failed;
            }
        }
        if (!progress.Pump())
            break;
    }
    if (FAILED(m_input.GetReadError())) {
        // What was merged before the failure is written before it is told.
        m_output.Finish();
        InputReadToItsEnd(m_input, m_fields.input);
        return Outcome::Failed;
    }
    return EndNormally();
}

CMergeRun::Outcome CMergeRun::EndAtAsciiEnd(const CTextLineReader& ascii)
{
    if (!m_output.Finish())
        return Outcome::Failed;
    if (FAILED(ascii.ReadError())) {
        ShowCannotReadFile(m_fields.ascii, ascii.ReadError());
        return Outcome::Failed;
    }
    return ascii.LineTooLong() ? Outcome::AsciiLineTooLong : Outcome::AsciiExhausted;
}

CMergeRun::Outcome CMergeRun::EndNormally()
{
    if (!m_output.Finish())
        return Outcome::Failed;
    m_input.Close();
    m_decoderFile.Close();
    SaveLastInputFileName(m_fields.input);
    SaveLastOutputFileName(m_fields.output);
    return Outcome::NormalEnd;
}
