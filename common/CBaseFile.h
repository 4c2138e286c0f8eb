#pragma once
#include "HResult.h"

#include <cstdint>
#include <string>

// Owner of one open file and of its full path. Every operation reports an
// HRESULT instead of throwing; callers turn failures into their own messages.
// A pipe, FIFO or device is used as cat and the shell use it: a late or slow
// peer (a FIFO's writer or reader included) is waited for as long as the
// living StreamWait allows.
class CBaseFile {
public:
    CBaseFile() = default;
    virtual ~CBaseFile();
    CBaseFile(const CBaseFile&) = delete;
    CBaseFile& operator=(const CBaseFile&) = delete;

    virtual void Close();
    // Close, answering what the system reported on closing: a network or
    // quota-limited file system may report a failed write (EIO, ENOSPC,
    // EDQUOT) only then. E_FAIL when no file is open.
    HRESULT CloseChecked();

    HRESULT Open(std::string name);
    // A name of an inherited descriptor (/dev/stdout, /dev/fd/N and the like)
    // writes through a duplicate of it, as the shell opened it: nothing is
    // reopened or truncated, an append stays an append.
    HRESULT Create(std::string name, bool overwrite);
    HRESULT OpenAppend(std::string name);

    // The count is stored after a failure too: the bytes read before it.
    HRESULT Read(void* buffer, std::uint32_t count, std::uint32_t* read = nullptr);
    HRESULT Write(const void* buffer, std::uint32_t count, std::uint32_t* written = nullptr);
    HRESULT Seek(std::int64_t offset, int origin, std::uint64_t* newPosition = nullptr);
    std::uint64_t GetLength() const;

    bool IsOpen() const { return m_hFile >= 0; }
    // A pipe, FIFO, device or socket: no length, no seeking.
    bool IsStream() const { return m_bStream; }

    // The descriptor, -1 while no file is open (the system's NULL handle).
    int m_hFile = -1;
    std::string m_strPath;

protected:
    enum class Disposition { OpenExisting, CreateAlways, CreateNew, OpenAlways };
    // Opens without calling the virtual Close first (used for part switches).
    HRESULT OpenHandle(const std::string& name, Disposition disposition);
    // Releases the descriptor and the path only; answers what close reported.
    HRESULT CloseHandle();

private:
    HRESULT AdoptInherited(int descriptor, const std::string& name);
    // Takes an open descriptor as the file `name`; closes it on failure.
    HRESULT TakeDescriptor(int fd, const std::string& name);
    // After a read or write failed with errno: S_OK to try again (it was
    // interrupted, or the stream is now ready), else the failure.
    HRESULT AfterFailedTransfer(short events) const;
    // After a read found no byte: true at the true end; false (to read again)
    // while a FIFO has had no writer yet, or one came with bytes.
    HRESULT AtEndOfStream(bool* atEnd) const;

    bool m_bStream = false;
    bool m_bFifo = false;
    // An inherited stream in blocking mode, a mode shared with other
    // processes and so never changed here.
    bool m_bBlockingStream = false;
};
