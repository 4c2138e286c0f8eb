#include "CConversionRun.h"

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

using platform::ShowMessage;

CConversionRun::CConversionRun(Fields fields) : m_fields(std::move(fields)) {}

bool CConversionRun::CheckNames() const
{
    const char* message = nullptr;
    if (m_fields.input.empty())
        message = dralin::kMsgEnterInput;
    else if (m_fields.decoder.empty())
        message = dralin::kMsgEnterDecoder;
    else if (m_fields.output.empty())
        message = dralin::kMsgEnterOutput;
    else if (m_fields.input == m_fields.output)
        message = dralin::kMsgSameFile;
    if (message)
        ShowMessage(message);
    return message == nullptr;
}

bool CConversionRun::OutputIsAnInput() const
{
    return platform::SameFile(m_fields.output, m_fields.decoder) || IsPartOfChain(m_input, m_fields.output);
}

bool CConversionRun::OpenFiles()
{
    if (!CheckNames())
        return false;
    if (const HRESULT opened = m_input.Open(m_fields.input); FAILED(opened)) {
        ShowCannotOpenInput(m_input, m_fields.input, opened);
        return false;
    }
    if (!OpenRunInput(m_decoderFile, m_fields.decoder))
        return false;
    if (OutputIsAnInput()) {
        ShowMessage(dralin::kMsgSameFile);
        return false;
    }
    return m_output.Create(m_fields.output);
}

bool CConversionRun::Convert(IProgress& progress)
{
    progress.Pump();
    progress.SetRange(m_input.GetTotalLength());
    if (!m_decoder.Load(m_decoderFile))
        return false;
    SaveLastDecoderFileName(m_fields.decoder);
    if (m_input.ReadNextEnsemble() == 0) {
        if (!InputReadToItsEnd(m_input, m_fields.input))
            return false;
        ShowMessage(dralin::kMsgNoEnsembles);
        return FinishNormally();
    }
    return ConvertEnsembles(progress) && FinishNormally();
}

bool CConversionRun::ConvertEnsembles(IProgress& progress)
{
    CEnsembleRange range(CEnsembleRange::BoundFromText(m_fields.start),
                         CEnsembleRange::BoundFromText(m_fields.end));
    do {
        progress.SetPos(m_input.GetPosition());
        const CQelEns ensemble(m_input.m_pEnsemble);
        const CVarLeader leader(&ensemble);
        const CEnsembleRange::Step step = range.Classify(leader.GetEnsembleNumber());
        if (step == CEnsembleRange::Step::Stop)
            break;
        if (step == CEnsembleRange::Step::Process && !m_decoding.DecodeEnsemble(ensemble, m_output)) {
            m_output.Finish(); // tells the failed write
            return false;
        }
    } while (progress.Pump() && m_input.ReadNextEnsemble() != 0);
    return InputReadWhole();
}

bool CConversionRun::InputReadWhole()
{
    if (SUCCEEDED(m_input.GetReadError()))
        return true;
    // The lines of every ensemble read are written before the failure is told.
    m_decoding.FlushOutput(m_output);
    m_output.Finish();
    return InputReadToItsEnd(m_input, m_fields.input);
}

bool CConversionRun::FinishNormally()
{
    // The last lines are still collected, and a file system may report a
    // failed write only on closing: either is no normal end.
    m_decoding.FlushOutput(m_output);
    if (!m_output.Finish())
        return false;
    m_input.Close();
    m_decoderFile.Close();
    SaveLastInputFileName(m_fields.input);
    SaveLastOutputFileName(m_fields.output);
    return true;
}
