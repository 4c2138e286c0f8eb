#pragma once
#include "Messages.h"
#include "TempDir.h"

#include <string>
#include <string_view>

// What one fuzzing process lends the runs: a folder for the files of each
// input, its own settings, and messages that take their default answer
// without a word (a run's messages are expected; only crashes count).
class FuzzWorkspace {
public:
    // The process's workspace, made on the first call, emptied of the files
    // of the previous input.
    static FuzzWorkspace& ForNextInput(const std::string& programName);

    ~FuzzWorkspace();
    FuzzWorkspace(const FuzzWorkspace&) = delete;
    FuzzWorkspace& operator=(const FuzzWorkspace&) = delete;

    // Writes a file of the current input; answers its path.
    std::string Write(const std::string& name, std::string_view bytes) const;
    std::string File(const std::string& name) const { return m_files.File(name); }
    const TempDir& Files() const { return m_files; }

private:
    explicit FuzzWorkspace(const std::string& programName);
    void Clear();

    class SilentMessages : public platform::MessageBackend {
    public:
        int Show(const std::string& text, unsigned type) override;
    };

    TempDir m_files;
    TempDir m_settings;
    SilentMessages m_messages;
};
