#pragma once
#include <string>

// The ".qvs" script file type for the current user: a shared-mime-info entry
// ("Parlim Script File") and a desktop entry that opens such a file with the
// program. Files are rewritten only when their content differs.
class CShellRegistration {
public:
    static constexpr const char* kMimeType = "application/x-parlim-script";

    // Data directory of the user ($XDG_DATA_HOME or ~/.local/share).
    explicit CShellRegistration(std::string dataHome);

    std::string MimeFilePath() const;
    std::string DesktopFilePath() const;

    static std::string MimeEntry();
    static std::string DesktopEntry(const std::string& programPath);

    // Writes the MIME entry, then the desktop entry; stops at the first file
    // that cannot be written. False on such a failure.
    bool Register(const std::string& programPath) const;

private:
    // Writes the text unless the file already holds it; false on failure.
    static bool WriteWhenDifferent(const std::string& path, const std::string& text, bool* changed);

    std::string m_dataHome;
};
