#include "DataTypeNames.h"

#include "Format.h"

#include <utility>

namespace {

const std::pair<std::uint16_t, const char*> kNames[] = {
    {0x0000, "Fixed Leader"},
    {0x0080, "Variable Leader"},
    {0x0100, "Velocity"},
    {0x0200, "Correlation"},
    {0x0300, "Echo Intensity"},
    {0x0400, "Percent Good"},
    {0x0500, "Status"},
    {0x0600, "Bottom Track"},
    {0x0700, "Parameter 0 Data"},
    {0x0701, "Number of Good Pings"},
    {0x0702, "Sum of Squared Velocities"},
    {0x0703, "Sum of Velocities"},
    {0x0A00, "Beam 5 Velocity"},
    {0x0A01, "Vertical Beam Velocity"},
    {0x0B00, "Beam 5 Correlation"},
    {0x0B01, "Vertical Beam Correlation"},
    {0x0C00, "Beam 5 Echo Intensity"},
    {0x0C01, "Vertical Beam Echo Intensity"},
    {0x0D00, "Beam 5 Percent Good"},
    {0x0D01, "Vertical Beam Percent Good"},
    {0x0E00, "Beam 5 Status"},
    {0x0E01, "Vertical Beam Status"},
    {0x0F01, "Vertical Beam Leader"},
    {0x1100, "CTD/OBS Data"},
    {0x1200, "Brennow Leader"},
    {0x1300, "Beam 5 Parameter 0 Data"},
    {0x1301, "Beam 5 Number of Good Pings"},
    {0x1302, "Beam 5 Sum of Squared Velocities"},
    {0x1303, "Beam 5 Sum of Velocities"},
    {0x1500, "Correlation Sonar Data"},
    {0x1600, "Karnis Ambient Sound Data"},
    {0x2000, "Corvane Navigation Data"},
    {0x2100, "Sedgeway DBT (Depth Sounder) Data"},
    {0x2101, "Sedgeway GGA (GPS) Data"},
    {0x2102, "Sedgeway VTG (GPS) Data"},
    {0x2103, "Sedgeway GSA (GPS) Data"},
    {0x2104, "Sedgeway HDT (External Heading) Data"},
};

// The second set of leaders and profile types: each is named after the id one lower.
constexpr std::uint16_t kGlissomIds[] = {0x0001, 0x0081, 0x0101, 0x0201, 0x0301, 0x0401, 0x0501};

constexpr const char* kGlissomPrefix = "Glissom ";
constexpr std::uint16_t kTestStructureFirst = 0x1000;
constexpr std::uint16_t kTestStructureLast = 0x100F;

std::string PlainName(std::uint16_t id)
{
    for (const auto& [knownId, name] : kNames) {
        if (knownId == id)
            return name;
    }
    return {};
}

bool IsGlissomId(std::uint16_t id)
{
    for (std::uint16_t glissomId : kGlissomIds) {
        if (glissomId == id)
            return true;
    }
    return false;
}

} // namespace

std::string GetDataTypeName(std::uint16_t id)
{
    if (IsGlissomId(id))
        return kGlissomPrefix + PlainName(static_cast<std::uint16_t>(id - 1));
    if (id >= kTestStructureFirst && id <= kTestStructureLast)
        return platform::Format("Test Structure #%d", id & 0x0F);
    return PlainName(id);
}
