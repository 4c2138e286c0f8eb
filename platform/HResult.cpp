#include "HResult.h"

#include <cerrno>

HRESULT HResultFromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    case EACCES:
    case EPERM:
    case EISDIR:
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
