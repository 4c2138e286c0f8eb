#pragma once
#include <cstdint>
#include <string>

// Result codes of files, the serial port and the YModem receiver:
// 0 is success, anything negative a failure; callers test zero against non-zero.
using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// Win32 error numbers that have an errno twin on this system.
constexpr std::uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::uint32_t ERROR_ACCESS_DENIED = 5;
constexpr std::uint32_t ERROR_FILE_EXISTS = 80;
constexpr std::uint32_t ERROR_DISK_FULL = 112;
constexpr std::uint32_t ERROR_BUSY = 170;

constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t code)
{
    return static_cast<int32_t>(code) <= 0 ? static_cast<HRESULT>(code)
                                           : static_cast<HRESULT>((code & 0xFFFFu) | 0x80070000u);
}

// Folds an errno value: the Win32 form where one matches, else a negative code
// that still carries the errno (0x8FFF0000 | errno).
HRESULT HResultFromErrno(int error);

// The errno a failure was folded from; EIO where the fold kept none.
int ErrnoFromHResult(HRESULT failure);

// The system's text for an errno, in the C locale whatever the user's, so a
// message reads in one language.
std::string ErrnoText(int error);
