#pragma once
#include "TempDir.h"

// Points every program's per-user settings at a fresh temporary directory
// for its lifetime, so tests never touch the user's real settings.
class TempSettings {
public:
    TempSettings();
    ~TempSettings();
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    const std::string& Path() const { return m_dir.Path(); }

private:
    TempDir m_dir;
};
