#include "RunFiles.h"

#include "FilePaths.h"
#include "Format.h"
#include "Messages.h"

#include <algorithm>

const char* const kMsgCannotCreateFile = "Cannot create file %s.";
const char* const kMsgFileExistsReplace = "File %s already exists.\r\nDo you want to replace it?";

bool OpenRunInput(CBaseFile& file, const std::string& name)
{
    if (FAILED(file.Open(name))) {
        platform::ShowMessage(platform::Format(kMsgCannotOpenFile, name.c_str()));
        return false;
    }
    return true;
}

void ShowCannotOpenInput(const CMultiBaseFile& input, const std::string& name)
{
    const std::string& failed = input.GetFailedLaterPart().empty() ? name : input.GetFailedLaterPart();
    platform::ShowMessage(platform::Format(kMsgCannotOpenFile, failed.c_str()));
}

bool InputReadToItsEnd(const CMultiBaseFile& input, const std::string& name)
{
    if (SUCCEEDED(input.GetReadError()))
        return true;
    ShowCannotOpenInput(input, name);
    return false;
}

bool IsPartOfChain(const CMultiBaseFile& chain, const std::string& name)
{
    return std::any_of(chain.m_parts.begin(), chain.m_parts.end(),
                       [&](const PartFileEntry& part) { return platform::SameFile(name, part.m_strName); });
}

bool CreateRunOutput(CBaseFile& file, const std::string& name)
{
    using namespace platform;
    // An inherited descriptor is written as the shell opened it, whatever it leads to.
    const PathKind kind = InheritedDescriptor(name) >= 0 ? PathKind::Stream : KindOfPath(name);
    if (kind == PathKind::Other) {
        ShowMessage(Format(kMsgCannotCreateFile, name.c_str()));
        return false;
    }
    if (kind == PathKind::RegularFile
        && ShowMessage(Format(kMsgFileExistsReplace, name.c_str()), MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return false;
    if (FAILED(file.Create(name, true))) {
        ShowMessage(Format(kMsgCannotCreateFile, name.c_str()));
        return false;
    }
    return true;
}
