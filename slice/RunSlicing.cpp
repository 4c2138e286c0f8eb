#include "RunSlicing.h"

#include "CCmdLineInfo.h"
#include "IRunHost.h"

#include <cstdlib>

SliceSettings SliceSettingsOf(std::string input, std::string prefix, std::string sizeText)
{
    SliceSettings settings;
    settings.input = std::move(input);
    settings.prefix = std::move(prefix);
    settings.sizeText = std::move(sizeText);
    settings.size = std::atof(settings.sizeText.c_str());
    return settings;
}

SliceSettings CommandLineSettings(const pelmar::CCmdLineInfo& cmdInfo)
{
    return SliceSettingsOf(cmdInfo.m_strInput, cmdInfo.m_strOutput, cmdInfo.m_strSize);
}

void RunSlicing(IRunHost& host, SliceSettings settings)
{
    CSlicer slicer(std::move(settings));
    host.RunWithProgress([&slicer] { return slicer.Prepare(); },
                         [&slicer](IProgress& progress) { return slicer.Slice(progress); });
}
