#pragma once
#include <cstdint>
#include <string>

// What the receiver shows while it downloads, and how it learns that the
// user cancelled: the "Recover Data" window, or a stand-in in tests.
class IRecoverProgress {
public:
    virtual ~IRecoverProgress() = default;

    virtual void SetDirectory(const std::string& directory) = 0;
    virtual void SetCorrections(int corrections) = 0;
    // -1: the total is not known.
    virtual void SetTotalBytes(std::int64_t total) = 0;
    virtual void StartFile(const std::string& name, std::int64_t size) = 0;
    virtual void FileDone(const std::string& name, std::int64_t size) = 0;
    virtual void UpdateProgress(std::int64_t fileBytes, std::int64_t batchBytes,
                                std::int64_t elapsedSeconds, std::int64_t remainingSeconds) = 0;
    virtual void ShowComplete() = 0;
    // Tells the user there is nothing to recover; shown before it returns.
    virtual void PostNoData() = 0;
    // Pumps what is waiting; false when cancelled or the program is closing.
    virtual bool CheckCancel() = 0;
    // The window hides itself when the user cancels.
    virtual bool IsShown() const = 0;
};
