#include "FuzzWorkspace.h"

#include <QSettings>

#include <filesystem>
#include <fstream>

FuzzWorkspace& FuzzWorkspace::ForNextInput(const std::string& programName)
{
    static FuzzWorkspace workspace(programName);
    workspace.Clear();
    return workspace;
}

FuzzWorkspace::FuzzWorkspace(const std::string& programName)
{
    platform::SetProgramName(programName);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(m_settings.Path()));
    platform::SetMessageBackend(&m_messages);
}

FuzzWorkspace::~FuzzWorkspace()
{
    platform::SetMessageBackend(nullptr);
}

void FuzzWorkspace::Clear()
{
    for (const auto& entry : std::filesystem::directory_iterator(m_files.Path()))
        std::filesystem::remove_all(entry.path());
}

std::string FuzzWorkspace::Write(const std::string& name, std::string_view bytes) const
{
    const std::string path = m_files.File(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

int FuzzWorkspace::SilentMessages::Show(const std::string&, unsigned type)
{
    return platform::DefaultAnswer(type);
}
