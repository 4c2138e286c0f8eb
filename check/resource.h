#pragma once
#include "UtilityTexts.h"

namespace vostic {

// Control ids and the string table of the checker, texts exactly as shown.

// Dialog 102 controls.
constexpr int IDC_VALID_ENSEMBLES = 1000;
constexpr int IDC_INPUT_FILE = 1001;
constexpr int IDC_MISSING_ENSEMBLES = 1002;
constexpr int IDC_BROWSE_INPUT = 1003;
constexpr int IDC_BAD_BIT = 1004;
constexpr int IDC_START_ENSEMBLE = 1005;
constexpr int IDC_END_ENSEMBLE = 1006;
constexpr int IDC_CHECK = 1007;
constexpr int IDC_FIRST_ENSEMBLE = 1008;
constexpr int IDC_LAST_ENSEMBLE = 1009;
constexpr int IDC_LOG_FILE = 1010;
constexpr int IDC_BROWSE_LOG = 1011;
constexpr int IDC_VIEW_LOG = 1012;
constexpr int IDC_BURSTS = 1013;
constexpr int IDC_WRITE_DATE_TIME = 1014;

// Messages besides the shared ones (UtilityTexts.h).
// "&View Log" with no log named and no text editor to start.
constexpr const char* IDS_NO_TEXT_EDITOR = "No text editor found.";

// Command-line keys.
constexpr const char* IDS_KEY_IN = "in:";       // 3030
constexpr const char* IDS_KEY_OUT = "out:";     // 3031
constexpr const char* IDS_KEY_START = "start:"; // 3032
constexpr const char* IDS_KEY_END = "end:";     // 3033

// Report sections.
#define VOSTIC_HYPHENS_28 "----------------------------"
#define VOSTIC_HYPHENS_91 \
    "-------------------------------------------------------------------------------------------"
#define VOSTIC_HYPHENS_99 \
    "---------------------------------------------------------------------------------------------------"
constexpr const char* IDS_REPORT_HEADER = "REPORT (%s)\r\n" VOSTIC_HYPHENS_99 "\r\n";                 // 3000
constexpr const char* IDS_INFO_HEADER = "\r\nDATA FILE INFORMATION: (%s)\r\n" VOSTIC_HYPHENS_91 "\r\n"; // 3006
constexpr const char* IDS_NO_ERRORS = "NO ERRORS FOUND\r\n";                                         // 3007
constexpr const char* IDS_NO_ENSEMBLES_TO_CHECK = "NO VALID ENSEMBLES TO CHECK\r\n";                // 3008
constexpr const char* IDS_TYPE_TABLE_HEAD =
    "\r\nDATA DECTECTED:\r\nID#(hex)  Description:                             Size (bytes)\r\n"; // 3009
constexpr const char* IDS_TYPE_ROW = "%04X      %-40s %u\r\n";
constexpr const char* IDS_SEPARATOR = VOSTIC_HYPHENS_28 "\r\n";

// Event lines.
constexpr const char* IDS_EVENT_OUT_OF_SEQUENCE =
    "Ensemble %-10ld Ensemble number out of sequence (previous ensemble was %ld).\r\n"; // 3001
constexpr const char* IDS_EVENT_LOST = "Ensemble %-10ld Bad checksum or ensemble lost.\r\n"; // 3002
constexpr const char* IDS_EVENT_MISSED =
    "Ensemble %-10ld Missed %d ensembles (last valid ensembles was %ld).\r\n";          // 3003
constexpr const char* IDS_EVENT_SAME = "Ensemble %-10ld Ensemble number the same as previous.\r\n"; // 3004
constexpr const char* IDS_EVENT_BAD_BIT = "Ensemble %-10ld Bad Built In Test result (BIT=%d).\r\n"; // 3005
constexpr const char* IDS_EVENT_UP_TO_DOWN =
    "Ensemble %-10ld Orientation of the system changed from UP to DOWN looking.\r\n";    // 3034
constexpr const char* IDS_EVENT_DOWN_TO_UP =
    "Ensemble %-10ld Orientation of the system changed from DOWN to UP looking.\r\n";    // 3035
constexpr const char* IDS_EVENT_PACKET_LOST = "Packet   %-10ld Bad packet checksum or missing.\r\n"; // 3042
constexpr const char* IDS_EVENT_BURST_ENDED =
    "Burst    %-10ld Ended with %ld packets (%ld missing).\r\n\r\n";                     // 3043
constexpr const char* IDS_EVENT_BURST_STARTED = "Burst    %-10ld Started %s.\r\n";       // 3044
constexpr const char* IDS_EVENT_PACKET_SAME = "Packet   %-10ld Packet number the same as previous.\r\n"; // 3049
constexpr const char* IDS_EVENT_PACKET_OUT_OF_SEQUENCE =
    "Packet   %-10ld Packet number out of sequence (previous packet was %ld).\r\n";      // 3050

constexpr const char* IDS_DATE_LINE = "Ensemble %d: %02d/%02d/%02d %02d:%02d:%02d.%02d \r\n";
constexpr const char* IDS_RECORD_TIME = "%02d/%02d/%02d %02d:%02d:%02d.%02d";

// Summary and settings lines.
constexpr const char* IDS_ENSEMBLE_SIZE = "Ensemble Size     : %u bytes\r\n";  // 3036
constexpr const char* IDS_FIRST_ENSEMBLE = "First Ensemble    : %ld\r\n";      // 3037
constexpr const char* IDS_LAST_ENSEMBLE = "Last Ensemble     : %ld\r\n";       // 3038
constexpr const char* IDS_VALID_ENSEMBLES = "Valid Ensembles   : %ld\r\n";     // 3039
constexpr const char* IDS_MISSING_ENSEMBLES = "Missing Ensembles : %ld\r\n";   // 3040
constexpr const char* IDS_BAD_BIT_ENSEMBLES = "Bad BIT Ensembles : %ld\r\n";   // 3041
constexpr const char* IDS_FIRMWARE = "Firmware version  : %.2f\r\n";
constexpr const char* IDS_FREQUENCY = "Frequency         : %.0f kHz\r\n";
constexpr const char* IDS_CELLS = "# of cells    (WN): %d\r\n";
constexpr const char* IDS_CELL_SIZE = "Cell size     (WS): %d cm\r\n";
constexpr const char* IDS_WATER_MODE = "Water mode    (WM): %d\r\n";
constexpr const char* IDS_WATER_PINGS = "Water pings   (WP): %d\r\n";
constexpr const char* IDS_BLANK = "Blank         (WF): %d cm\r\n";
constexpr const char* IDS_BOTTOM_MODE = "Bottom mode   (BM): %d\r\n";
constexpr const char* IDS_BOTTOM_PINGS = "Bottom pings  (BP): %d\r\n";
constexpr const char* IDS_BURST_SIZE = "Burst Size        : %llu bytes\r\n"; // 3048
constexpr const char* IDS_BURST_COUNT = "# of Bursts       : %ld\r\n";       // 3051

// Names of the waves rows of the data-type table.
constexpr const char* IDS_WAVES_FIRST_LEADER = "First Leader"; // 3045
constexpr const char* IDS_WAVES_PING = "Wave Ping";            // 3046
constexpr const char* IDS_WAVES_LAST_LEADER = "Last Leader";   // 3047

} // namespace vostic
