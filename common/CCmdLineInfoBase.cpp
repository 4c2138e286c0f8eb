#include "CCmdLineInfoBase.h"

#include "FilePaths.h"

void CCmdLineInfoBase::ParseCommandLine(int argc, char** argv)
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    ParseCommandLine(arguments);
}

void CCmdLineInfoBase::ParseCommandLine(const std::vector<std::string>& arguments)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool isFlag = !argument.empty() && (argument[0] == '/' || argument[0] == '-');
        ParseParam(isFlag ? argument.substr(1) : argument, isFlag, i + 1 == arguments.size());
    }
}

void CCmdLineInfoBase::ParseParam(const std::string& param, bool isFlag, bool)
{
    if (!isFlag)
        return;
    for (const Key& key : m_keys) {
        if (param.compare(0, key.text.size(), key.text) != 0)
            continue;
        std::string rest = param.substr(key.text.size());
        *key.value = key.isFileKey && !rest.empty() ? platform::FullPath(rest) : rest;
        return;
    }
}

void CCmdLineInfoBase::AddKey(const char* key, std::string& value, bool isFileKey)
{
    m_keys.push_back({key, &value, isFileKey});
}
