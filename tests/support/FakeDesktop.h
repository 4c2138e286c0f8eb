#pragma once
#include "DesktopOpener.h"
#include "HelpPage.h"

#include <cstdio>
#include <fstream>
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

// The running program's help page, there for as long as this lives.
class HelpPageFile {
public:
    HelpPageFile() { std::ofstream(platform::HelpPagePath()) << "<html></html>"; }
    ~HelpPageFile() { std::remove(platform::HelpPagePath().c_str()); }
    HelpPageFile(const HelpPageFile&) = delete;
    HelpPageFile& operator=(const HelpPageFile&) = delete;
};
