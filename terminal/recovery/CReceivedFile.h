#pragma once
#include "CBaseFile.h"
#include "HResult.h"

#include <cstdint>
#include <string>
#include <sys/types.h>

// A file arriving in the download folder. Its bytes are under a visible
// partial name (NAME.part, NAME.1.part, ...) from the first byte on, so no
// kill or power cut leaves them under a hidden name; it takes its own name
// only once whole and on disk. Partials whose bytes are a prefix of its own
// are removed as outgrown, but only once its bytes are on disk; any other
// file of those names stays.
class CReceivedFile {
public:
    // Creates the first free partial name, exclusively: nothing is ever
    // written through a link or into an earlier file.
    HRESULT Create(const std::string& directory, const std::string& name);
    // 0, or the failure and the system's reason for it.
    HRESULT Write(const void* bytes, std::uint32_t count, std::string& reason);
    void Close() { m_file.Close(); }

    // Puts the bytes on disk and closes the file: empty, or the system's
    // reason why they may not be there. Such a file removes no partial and
    // keeps the partial name it has.
    std::string SyncAndClose();
    // The whole file, once synced, takes its own name: empty, or the system's
    // reason why it cannot (it then stays under its partial name).
    std::string TakeName();
    // Once named, makes the name itself survive a power cut: empty, or the
    // system's reason why the folder may not keep it.
    std::string SyncFolder() const;
    // Ends a file that did not take its name: the name its bytes are kept
    // under, empty when nothing is kept (no byte came, or they are lost).
    std::string Keep(bool anyBytes);
    // Why the bytes last synced may not be on disk; empty when they are.
    const std::string& SyncFailure() const { return m_strSyncFailure; }
    // Why the bytes are no longer under the partial name; empty while they are.
    std::string LostReason() const;

    // Created and not yet named or kept.
    bool IsPending() const { return !m_strPartialPath.empty(); }

private:
    std::string PartialName(int number) const;
    // The partial name still holds the file this created.
    bool IsStillThere() const;
    // Removes the partials whose bytes are a prefix of this file's.
    void RemoveOutgrownPartials() const;
    // Once those are gone, the lowest partial name that is free.
    void MoveToLowestFreeName();

    CBaseFile m_file;
    std::string m_strDirectory;
    std::string m_strName;
    std::string m_strPartialPath;
    std::string m_strSyncFailure;
    bool m_bSynced = false;
    // Bytes written so far.
    off_t m_nLength = 0;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};
