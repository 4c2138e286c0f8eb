#include "CSlicer.h"

#include "CQelEns.h"
#include "CVarLeader.h"
#include "FilePaths.h"
#include "Format.h"
#include "IProgress.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "RunFiles.h"
#include "resource.h"

#include <cstdlib>
#include <utility>

using namespace pelmar;

namespace {
constexpr double kMinimumSize = 0.5;
constexpr double kMaximumSize = 200.0;
constexpr const char* kWroteOneSlice = "Wrote %s before the question.";
constexpr const char* kWroteSlices = "Wrote %zu slices before the question: %s to %s.";

void ShowFileMessage(const char* format, const std::string& name)
{
    platform::ShowMessage(platform::Format(format, name.c_str()));
}
} // namespace

CSlicer::CSlicer(SliceSettings settings)
    : m_settings(std::move(settings))
    , m_input(0)
{
}

std::uint32_t CSlicer::LimitBytes(double size)
{
    double bytes = size * 1024.0 * 1024.0 + 0.5;
    // Outside the 64-bit range no size is accepted anyway.
    if (!(bytes > -9.2e18 && bytes < 9.2e18))
        return 0;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(bytes));
}

bool CSlicer::IsSizeAccepted(const std::string& sizeText, std::uint32_t limit)
{
    if (limit == 0 && sizeText == "0")
        return true;
    double size = std::atof(sizeText.c_str());
    return size >= kMinimumSize && size <= kMaximumSize;
}

bool CSlicer::HasExtension(const std::string& prefix)
{
    std::size_t point = prefix.rfind('.');
    if (point == std::string::npos)
        return false;
    std::size_t slash = prefix.rfind('/');
    return slash == std::string::npos || point > slash;
}

std::string CSlicer::SliceName(const std::string& prefix, int restarts, int sizeSteps)
{
    return platform::Format("%s%03d.%03d", prefix.c_str(), restarts, sizeSteps);
}

bool CSlicer::Prepare()
{
    m_nLimit = LimitBytes(m_settings.size);
    if (m_settings.input.empty()) {
        platform::ShowMessage(IDS_NO_INPUT);
        return false;
    }
    if (m_settings.prefix.empty()) {
        platform::ShowMessage(IDS_NO_PREFIX);
        return false;
    }
    if (!IsSizeAccepted(m_settings.sizeText, m_nLimit)) {
        platform::ShowMessage(IDS_BAD_SIZE);
        return false;
    }
    if (const HRESULT opened = m_input.Open(m_settings.input); FAILED(opened)) {
        ShowCannotOpenInput(m_input, m_settings.input, opened);
        return false;
    }
    SaveLastInputFileName(m_settings.input);
    if (HasExtension(m_settings.prefix)) {
        platform::ShowMessage(IDS_BAD_PREFIX);
        m_input.Close();
        return false;
    }
    std::string first = SliceName(m_settings.prefix, 0, 0);
    if (!OpenSliceFile(first)) {
        m_input.Close();
        return false;
    }
    SaveLastOutputFileName(first);
    return true;
}

bool CSlicer::Slice(IProgress& progress)
{
    progress.Pump();
    progress.SetRange(m_input.GetTotalLength());
    std::int64_t previous = -1;
    bool ok = true;
    for (int size = m_input.ReadNextEnsemble(); size != 0; size = m_input.ReadNextEnsemble()) {
        progress.SetPos(m_input.GetPosition());
        CQelEns ensemble(m_input.m_pEnsemble);
        std::int64_t number = CVarLeader(&ensemble).GetEnsembleNumber();
        if (previous >= 0 && number <= previous) {
            ++m_nRestarts;
            ok = OpenNextSlice();
        }
        previous = number;
        std::uint64_t position = static_cast<std::uint32_t>(m_nSliceSize);
        if (ok && m_nLimit != 0 && position != 0 && position + static_cast<std::uint32_t>(size) > m_nLimit) {
            ++m_nSizeSteps;
            ok = OpenNextSlice();
        }
        ok = ok && WriteEnsemble(m_input.m_pEnsemble, static_cast<std::uint32_t>(size));
        if (!ok || !progress.Pump())
            break;
    }
    // What was read is written before a failed read is told.
    const bool written = m_slice.Finish();
    ok = ok && written && InputReadToItsEnd(m_input, m_settings.input);
    m_input.Close();
    return ok;
}

bool CSlicer::OpenNextSlice()
{
    return m_slice.Finish() && OpenSliceFile(SliceName(m_settings.prefix, m_nRestarts, m_nSizeSteps));
}

bool CSlicer::OpenSliceFile(const std::string& name)
{
    m_nSliceSize = 0;
    // Creating a part of the input would destroy the data being sliced.
    if (IsInputPart(name)) {
        ShowFileMessage(kMsgCannotCreateFile, name);
        return false;
    }
    if (!m_slice.Create(name, SlicesWrittenText()))
        return false;
    m_slices.push_back(name);
    return true;
}

bool CSlicer::IsInputPart(const std::string& name) const
{
    std::string fullName = platform::FullPath(name);
    for (const PartFileEntry& part : m_input.m_parts) {
        if (part.m_strName == fullName || platform::SameFile(part.m_strName, name))
            return true;
    }
    return false;
}

bool CSlicer::WriteEnsemble(const std::uint8_t* data, std::uint32_t size)
{
    m_slice.Append(data, size);
    m_nSliceSize += size;
    return m_slice.FlushWhenFull();
}

std::string CSlicer::SlicesWrittenText() const
{
    if (m_slices.empty())
        return {};
    if (m_slices.size() == 1)
        return platform::Format(kWroteOneSlice, m_slices.front().c_str());
    return platform::Format(kWroteSlices, m_slices.size(), m_slices.front().c_str(), m_slices.back().c_str());
}
