#pragma once
#include "DesktopOpener.h"
#include "HelpPage.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>
#include <string>
#include <vector>

// Stands in for the desktop's opener while it lives: records what it is
// asked to open and answers whether an application took it.
class FakeOpener {
public:
    explicit FakeOpener(bool opens)
        : m_previous(platform::SetFileOpener([this, opens](const std::string& path) {
            m_opened.push_back(path);
            return opens;
        }))
    {
    }
    ~FakeOpener() { platform::SetFileOpener(m_previous); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    std::vector<std::string> m_opened;

private:
    platform::FileOpener m_previous;
};

// The running program's help page, there for as long as this lives. Cases of
// one test program run as parallel processes and share the page, so each
// holds a lock on it while it makes, uses and removes it.
class HelpPageFile {
public:
    HelpPageFile()
        : m_lock(::open((platform::HelpPagePath() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        ::flock(m_lock, LOCK_EX);
        std::ofstream(platform::HelpPagePath()) << "<html></html>";
    }
    ~HelpPageFile()
    {
        std::remove(platform::HelpPagePath().c_str());
        ::close(m_lock);
    }
    HelpPageFile(const HelpPageFile&) = delete;
    HelpPageFile& operator=(const HelpPageFile&) = delete;

private:
    int m_lock;
};
