#pragma once
#include "TempDir.h"

#include <cstdint>
#include <limits>
#include <string>

// A folder whose files fail as a worn card or a flaky share does (a FUSE
// file system over a backing folder): reads from a given byte on fail with
// EIO, and the close of a written file reports EIO though its bytes arrived.
// The test writes inputs and reads outputs in the backing folder directly.
class FailingMount {
public:
    struct Failures {
        std::uint64_t readsFrom = std::numeric_limits<std::uint64_t>::max();
        bool closes = false;
    };

    explicit FailingMount(const Failures& failures);
    ~FailingMount();
    FailingMount(const FailingMount&) = delete;
    FailingMount& operator=(const FailingMount&) = delete;

    bool Mounted() const { return m_mounted; }
    // A name through the failing file system.
    std::string File(const std::string& name) const { return m_mount.File(name); }
    // The same name in the backing folder, which never fails.
    std::string BackingFile(const std::string& name) const { return m_backing.File(name); }

private:
    TempDir m_backing;
    TempDir m_mount;
    bool m_mounted = false;
};
