#pragma once
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

// A folder whose files fail as a worn card or a flaky share does (a FUSE
// file system over a backing folder): reads from a given byte on fail with
// EIO, and the close of a written file, a file's sync or the folder's sync
// report EIO though the bytes arrived. The test writes inputs and reads
// outputs in the backing folder directly.
class FailingMount {
public:
    struct Failures {
        std::uint64_t readsFrom = std::numeric_limits<std::uint64_t>::max();
        bool closes = false;
        bool fileSyncs = false;
        bool folderSyncs = false;
    };

    explicit FailingMount(const Failures& failures);
    ~FailingMount();
    FailingMount(const FailingMount&) = delete;
    FailingMount& operator=(const FailingMount&) = delete;

    bool Mounted() const { return m_trouble.empty(); }
    // Why it is not mounted; empty when it is.
    const std::string& Trouble() const { return m_trouble; }
    // The machine has no usable FUSE and no CI run (CI=true) asked for
    // every test: the test may be skipped instead of failed.
    bool MaySkip() const { return m_maySkip; }
    // A name through the failing file system.
    std::string File(const std::string& name) const { return m_mount.File(name); }
    // The same name in the backing folder, which never fails.
    std::string BackingFile(const std::string& name) const { return m_backing.File(name); }

private:
    TempDir m_backing;
    TempDir m_mount;
    std::string m_trouble;
    bool m_maySkip = false;
};

// Leaves the test unless the mount is there: skipped where the machine has
// no FUSE, failed where it has one (or under CI=true).
#define ASSERT_MOUNTED(mount)                                                                                          \
    do {                                                                                                               \
        if ((mount).Mounted())                                                                                         \
            break;                                                                                                     \
        if ((mount).MaySkip())                                                                                         \
            GTEST_SKIP() << (mount).Trouble();                                                                         \
        FAIL() << (mount).Trouble();                                                                                   \
    } while (false)
