#include "RunFiles.h"

#include "FilePaths.h"
#include "Format.h"
#include "Messages.h"

#include <algorithm>

const char* const kMsgCannotCreateFile = "Cannot create file %s.";
const char* const kMsgCannotReadFile = "Cannot read file %s: %s.";
const char* const kMsgFileExistsReplace = "File %s already exists.\r\nDo you want to replace it?";

std::string FailureReason(HRESULT failure)
{
    if (failure == CMultiBaseFile::kPartBecameShorter)
        return "the file became shorter while it was read";
    if (failure == CMultiBaseFile::kNotARegularPart)
        return "Not a regular file";
    return ErrnoText(ErrnoFromHResult(failure));
}

std::string CannotOpenFileText(const std::string& name, HRESULT failure)
{
    std::string text = platform::Format(kMsgCannotOpenFile, name.c_str());
    // E_FAIL carries no system error: the full path could not be had.
    if (failure != E_FAIL)
        text += " " + FailureReason(failure) + ".";
    return text;
}

bool OpenRunInput(CBaseFile& file, const std::string& name)
{
    const HRESULT opened = file.Open(name);
    if (FAILED(opened))
        platform::ShowMessage(CannotOpenFileText(name, opened));
    return SUCCEEDED(opened);
}

namespace {

// The later part that failed, else the input as the run names it.
const std::string& FailedPartName(const CMultiBaseFile& input, const std::string& name)
{
    return input.GetFailedLaterPart().empty() ? name : input.GetFailedLaterPart();
}

} // namespace

void ShowCannotOpenInput(const CMultiBaseFile& input, const std::string& name, HRESULT failure)
{
    platform::ShowMessage(CannotOpenFileText(FailedPartName(input, name), failure));
}

std::string CannotReadFileText(const std::string& name, HRESULT failure)
{
    return platform::Format(kMsgCannotReadFile, name.c_str(), FailureReason(failure).c_str());
}

void ShowCannotReadFile(const std::string& name, HRESULT failure)
{
    platform::ShowMessage(CannotReadFileText(name, failure));
}

std::string InputReadFailureText(const CMultiBaseFile& input, const std::string& name)
{
    const std::string& failed = FailedPartName(input, name);
    if (input.ReadFailedOpeningPart())
        return CannotOpenFileText(failed, input.GetReadError());
    return CannotReadFileText(failed, input.GetReadError());
}

bool InputReadToItsEnd(const CMultiBaseFile& input, const std::string& name)
{
    if (SUCCEEDED(input.GetReadError()))
        return true;
    platform::ShowMessage(InputReadFailureText(input, name));
    return false;
}

bool IsPartOfChain(const CMultiBaseFile& chain, const std::string& name)
{
    return std::any_of(chain.m_parts.begin(), chain.m_parts.end(),
                       [&](const PartFileEntry& part) { return platform::SameFile(name, part.m_strName); });
}

bool CreateRunOutput(CBaseFile& file, const std::string& name, const std::string& writtenBefore)
{
    using namespace platform;
    // An inherited descriptor is written as the shell opened it, whatever it leads to.
    const PathKind kind = InheritedDescriptor(name) >= 0 ? PathKind::Stream : KindOfPath(name);
    if (kind == PathKind::Other) {
        ShowMessage(Format(kMsgCannotCreateFile, name.c_str()));
        return false;
    }
    if (kind == PathKind::RegularFile
        && AskToReplace(Format(kMsgFileExistsReplace, name.c_str()), name, writtenBefore) != IDYES)
        return false;
    if (FAILED(file.Create(name, true))) {
        ShowMessage(Format(kMsgCannotCreateFile, name.c_str()));
        return false;
    }
    return true;
}
