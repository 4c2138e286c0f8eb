#include "CCmdLineInfoBase.h"

#include "FilePaths.h"
#include "Messages.h"

#include <algorithm>
#include <cctype>

namespace {
// Switch column of the usage, wide enough for "-ascii:FILE".
constexpr std::size_t kSwitchColumn = 16;

bool IsSwitch(const std::string& argument)
{
    return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

std::string Joined(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts)
        joined += (joined.empty() ? "" : " ") + text;
    return joined;
}
} // namespace

CCmdLineInfoBase::CCmdLineInfoBase(const char* purpose) : m_purpose(purpose)
{
}

void CCmdLineInfoBase::ParseCommandLine(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    ParseCommandLine(arguments);
}

void CCmdLineInfoBase::ParseCommandLine(const std::vector<std::string>& arguments)
{
    m_unknownSwitches.clear();
    m_bHelpRequested = false;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h")
            m_bHelpRequested = true;
        else if (IsSwitch(argument) && !TakeKey(argument.substr(1)))
            m_unknownSwitches.push_back(argument);
    }
}

bool CCmdLineInfoBase::TakeKey(const std::string& param)
{
    for (const Key& key : m_keys) {
        if (param.compare(0, key.text.size(), key.text) != 0)
            continue;
        std::string rest = param.substr(key.text.size());
        *key.value = key.isFileKey && !rest.empty() ? platform::FullPath(rest) : rest;
        return true;
    }
    return false;
}

void CCmdLineInfoBase::AddKey(const char* key, std::string& value, bool isFileKey, const char* argument,
                              const char* meaning)
{
    m_keys.push_back({key, &value, isFileKey, argument, meaning});
}

bool CCmdLineInfoBase::NamesEveryFile() const
{
    return std::none_of(m_keys.begin(), m_keys.end(),
                        [](const Key& key) { return key.isFileKey && key.value->empty(); });
}

std::string CCmdLineInfoBase::Command()
{
    std::string command = platform::ProgramName();
    std::transform(command.begin(), command.end(), command.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return command;
}

std::string CCmdLineInfoBase::Synopsis() const
{
    std::vector<std::string> switches;
    for (const Key& key : m_keys) {
        const std::string written = "-" + key.text + key.argument;
        switches.push_back(key.isFileKey ? written : "[" + written + "]");
    }
    return Joined(switches);
}

std::string CCmdLineInfoBase::Usage(const std::string& helpPage) const
{
    std::string usage = "Usage: " + Command() + " " + Synopsis() + "\n" + m_purpose + "\n\n";
    for (const Key& key : m_keys) {
        std::string written = "  -" + key.text + key.argument;
        written.resize(std::max(kSwitchColumn, written.size() + 1), ' ');
        usage += written + key.meaning + "\n";
    }
    usage += "\nA command line that names every file runs unattended and ends with status 0\n"
             "only after a normal run; without a display its messages go to standard error.\n"
             "Otherwise the window opens with the names given. A switch may also begin with /.\n"
             "Help page: " + helpPage + "\n";
    return usage;
}

std::string CCmdLineInfoBase::MissingFilesText() const
{
    return "no display, and the command line does not name every file: it needs " + Synopsis() + " ("
        + Command() + " --help tells more).";
}

std::string CCmdLineInfoBase::UnknownSwitchesText() const
{
    return "unknown switch " + Joined(m_unknownSwitches) + "; the switches are " + Synopsis() + " (" + Command()
        + " --help tells more).";
}
