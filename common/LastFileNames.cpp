#include "LastFileNames.h"

#include "Settings.h"

namespace {
const char* const kSection = "Settings";
const char* const kDecoder = "Last Decoder File Name";
const char* const kInput = "Last Input File Name";
const char* const kOutput = "Last Output File Name";
const char* const kAscii = "Last ASCII File Name";

void SaveName(const char* valueName, const std::string& name)
{
    if (!name.empty())
        platform::WriteProfileString(kSection, valueName, name);
}
} // namespace

void SaveLastDecoderFileName(const std::string& name) { SaveName(kDecoder, name); }
void SaveLastInputFileName(const std::string& name) { SaveName(kInput, name); }
void SaveLastOutputFileName(const std::string& name) { SaveName(kOutput, name); }
void SaveLastAsciiFileName(const std::string& name) { SaveName(kAscii, name); }
std::string GetLastDecoderFileName() { return platform::GetProfileString(kSection, kDecoder); }
std::string GetLastInputFileName() { return platform::GetProfileString(kSection, kInput); }
std::string GetLastOutputFileName() { return platform::GetProfileString(kSection, kOutput); }
std::string GetLastAsciiFileName() { return platform::GetProfileString(kSection, kAscii); }
