#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The per-user settings store of each program: company "QSV", application =
// the program name (platform::ProgramName), sections and value names verbatim.
namespace platform {

std::string GetProfileString(const std::string& section, const std::string& name,
                             const std::string& defaultValue = {});
void WriteProfileString(const std::string& section, const std::string& name,
                        const std::string& value);
int GetProfileInt(const std::string& section, const std::string& name, int defaultValue);
void WriteProfileInt(const std::string& section, const std::string& name, int value);
std::vector<std::uint8_t> GetProfileBinary(const std::string& section, const std::string& name);
void WriteProfileBinary(const std::string& section, const std::string& name,
                        const std::vector<std::uint8_t>& value);
void RemoveProfileValue(const std::string& section, const std::string& name);
// False when the store could not be written (read-only or unwritable file).
bool SyncProfile();

} // namespace platform
