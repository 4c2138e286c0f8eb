#pragma once
#include <csignal>
#include <sys/resource.h>

// For its lifetime no file of this process may grow past `bytes`: a write
// beyond fails with EFBIG, as on a full disk (SIGXFSZ is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_previousLimit{};
    struct sigaction m_previousAction {};
};
