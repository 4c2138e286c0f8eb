#include "LogFileOpening.h"

namespace {

constexpr int kFromEnd = 2;

} // namespace

HRESULT OpenLogFile(CBaseFile& file, const std::string& path, bool overwrite)
{
    if (overwrite)
        return file.Create(path, true);
    if (HRESULT opened = file.OpenAppend(path); opened != S_OK)
        return opened;
    if (HRESULT moved = file.Seek(0, kFromEnd); moved != S_OK) {
        file.Close();
        return moved;
    }
    return S_OK;
}
