#pragma once

namespace zarnel {

// Control ids and the string table of the calculator, texts exactly as shown.

// Dialog controls.
constexpr int IDC_APPLY = 1001;
constexpr int IDC_EXPRESSION = 1006;
constexpr int IDC_TEMPERATURE = 1007;
constexpr int IDC_SALINITY = 1008;
constexpr int IDC_DEPTH = 1009;
constexpr int IDC_CALCULATED = 1010;
constexpr int IDC_REFERENCE = 1011;
constexpr int IDC_COEFFICIENT = 1012;
constexpr int IDC_SET_TO_C = 1015;
constexpr int ID_HELP = 57670;
constexpr int IDOK_EXIT = 1;

constexpr const char* IDS_CAPTION = "Zarnel (Speed of Sound Calculator)";
constexpr const char* IDS_EXPRESSION_LABEL = "Expression for calculating speed of sound:";
constexpr const char* IDS_EXPRESSION_STATIC = "C=";
constexpr const char* IDS_PARAMETERS_GROUP = "Parameters";
constexpr const char* IDS_TEMPERATURE_LABEL = "Temperature (T):";
constexpr const char* IDS_SALINITY_LABEL = "Salinity (S):";
constexpr const char* IDS_DEPTH_LABEL = "Depth (D):";
constexpr const char* IDS_SPEED_GROUP = "Speed of Sound";
constexpr const char* IDS_CALCULATED_LABEL = "Calculated (C):";
constexpr const char* IDS_REFERENCE_LABEL = "Reference:";
constexpr const char* IDS_COEFFICIENT_LABEL = "Coefficient:";
constexpr const char* IDS_UNIT_CELSIUS = "°C";
constexpr const char* IDS_UNIT_PPT = "ppt";
constexpr const char* IDS_UNIT_METRES = "m";
constexpr const char* IDS_UNIT_SPEED = "m/s";
constexpr const char* IDS_SET_TO_C = "(Set to C)";
constexpr const char* IDS_APPLY = "&Apply";
constexpr const char* IDS_HELP = "&Help";
constexpr const char* IDS_EXIT = "&Exit";

// Messages.
constexpr const char* IDS_TEMPERATURE_INVALID =
    "Temperature is invalid or out of range.\n\rValid range is -5 to 45 °C."; // 5001
constexpr const char* IDS_SALINITY_INVALID =
    "Salinity is invalid or out of range.\n\rValid range is 0 to 50 ppt."; // 5002
constexpr const char* IDS_DEPTH_INVALID =
    "Depth is invalid or out of range.\n\rValid range is 0 to 10,000 m."; // 5004
constexpr const char* IDS_REFERENCE_INVALID =
    "Reference speed of sound is invalid or out of range.\n\rValid range is 1400 to 1600 m."; // 5005

} // namespace zarnel
