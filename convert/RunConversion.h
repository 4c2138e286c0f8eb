#pragma once
#include "CConversionRun.h"

class IRunHost;
namespace dralin {
class CCmdLineInfo;
}

// What the command line puts into the dialog's fields: its three names and
// the whole file (start and end 0).
CConversionRun::Fields CommandLineFields(const dralin::CCmdLineInfo& cmdInfo);

// One conversion of `fields` (the dialog's texts as typed) in `host`.
void RunConversion(IRunHost& host, const CConversionRun::Fields& fields);
