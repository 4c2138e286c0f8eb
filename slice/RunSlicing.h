#pragma once
#include "CSlicer.h"

class IRunHost;
namespace pelmar {
class CCmdLineInfo;
}

// The settings of a run from the input name, the prefix and the size text
// as given (the size is that text's number).
SliceSettings SliceSettingsOf(std::string input, std::string prefix, std::string sizeText);
// The command line's own values, which an auto-run takes.
SliceSettings CommandLineSettings(const pelmar::CCmdLineInfo& cmdInfo);

// One slicing run of `settings` in `host`.
void RunSlicing(IRunHost& host, SliceSettings settings);
