#pragma once
#include "CMergeRun.h"

class IRunHost;
namespace quenta {
class CCmdLineInfo;
}

// What the command line puts into the dialog's fields: its four names and
// the whole file (start and end 0).
MergeFields CommandLineFields(const quenta::CCmdLineInfo& cmdInfo);

// One merge of `fields` (the dialog's texts as typed) in `host`. An
// unattended run without a display tells why the ASCII file ended it.
void RunMerge(IRunHost& host, const MergeFields& fields);
