#pragma once
#include <string>

// The last file names a utility used, under "Settings" of its settings store.
// An empty name is never written, so an earlier value survives.
void SaveLastDecoderFileName(const std::string& name);
void SaveLastInputFileName(const std::string& name);
void SaveLastOutputFileName(const std::string& name);
void SaveLastAsciiFileName(const std::string& name);
std::string GetLastDecoderFileName();
std::string GetLastInputFileName();
std::string GetLastOutputFileName();
std::string GetLastAsciiFileName();
