#pragma once
// Opens a connection's log file: replaced, or kept and written on at its end.
#include "CBaseFile.h"

#include <string>

// On failure the file is left closed.
HRESULT OpenLogFile(CBaseFile& file, const std::string& path, bool overwrite);
