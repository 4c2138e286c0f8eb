#include "HResult.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>

HRESULT HResultFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    case EACCES:
    case EPERM:
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case EEXIST:
        return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
    case ENOSPC:
        return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    case EBUSY:
        return HRESULT_FROM_WIN32(ERROR_BUSY);
    case 0:
        return E_FAIL;
    default:
        return static_cast<HRESULT>(0x8FFF0000u | (static_cast<unsigned>(error) & 0xFFFFu));
    }
}

int ErrnoFromHResult(HRESULT failure)
{
    const auto code = static_cast<std::uint32_t>(failure);
    if ((code & 0xFFFF0000u) == 0x8FFF0000u)
        return static_cast<int>(code & 0xFFFFu);
    switch (code) {
    case static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)): return ENOENT;
    case static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)): return EACCES;
    case static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS)): return EEXIST;
    case static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_DISK_FULL)): return ENOSPC;
    case static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_BUSY)): return EBUSY;
    default: return EIO;
    }
}

std::string ErrnoText(int error)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strerror_l(error, cLocale);
}
