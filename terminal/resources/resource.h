#pragma once
#include <string>

namespace parlim {

// Resource ids of the terminal: menus, toolbar, dialogs, controls, commands,
// status panes and the string table.

// Menus, toolbar, key table, document template, context menu
constexpr int IDR_MAINFRAME = 128;
constexpr int IDR_PARLIMTYPE = 129;
constexpr int IDR_TERMINAL_CONTEXT = 135;

// Status bar panes
constexpr int ID_INDICATOR_TITLE = 130;
constexpr int ID_INDICATOR_SETTINGS = 131;
constexpr int ID_INDICATOR_LOG = 132;
constexpr int ID_INDICATOR_HEX = 133;
constexpr int ID_INDICATOR_SPACER = 134;
constexpr int ID_INDICATOR_SPACER2 = 135;
constexpr int ID_INDICATOR_SCRIPT = 136;

// Terminal commands
constexpr int ID_RUN_SCRIPT = 2045;
constexpr int ID_TEST_COMMAND = 2046;
constexpr int ID_FILE_PROPERTIES = 32771;
constexpr int ID_FILE_CONNECT = 32772;
constexpr int ID_FILE_DISCONNECT = 32773;
constexpr int ID_FILE_LOG = 32774;
constexpr int ID_FILE_SEND_SCRIPT = 32775;
constexpr int ID_VIEW_HEX_ASCII = 32776;
constexpr int ID_FILE_SEND_BREAK = 32777;
constexpr int ID_TRANSFER_BINARY_COMMAND = 32778;
constexpr int ID_FILE_RECOVER_RECORDER = 32779;
constexpr int ID_TOOLS_OPTIONS = 32780;
constexpr int ID_FILE_EDIT_SCRIPT = 32781;
constexpr int ID_TRANSFER_COMMAND_HISTORY = 32782;
constexpr int ID_FILE_VIEW_LOG = 32783;
constexpr int ID_WINDOW_CLEAR = 32785;
constexpr int ID_TRANSFER_PC_TIME = 32788;
constexpr int ID_TRANSFER_HEX_BYTES = 32789;
constexpr int ID_HIDDEN_BUTTON1 = 32790;
constexpr int ID_HIDDEN_BUTTON2 = 32791;
constexpr int ID_FILE_RECOVER_LOOP_RECORDER = 32792;

// Standard commands of the class library
constexpr int ID_WIZFINISH = 12325;
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_WINDOW_CASCADE = 57650;
constexpr int ID_WINDOW_TILE_HORZ = 57651;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP = 57670;
constexpr int ID_DEFAULT_HELP = 57671;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;

// Property pages
constexpr int IDD_PROP_CONNECT_TO = 102;
constexpr int IDD_PROP_PORT = 103;
constexpr int IDD_PROP_OPTIONS = 7001;

// Controls of "Connect To"
constexpr int IDC_ADCP_TYPE_GROUP = 1000;
constexpr int IDC_CONNECT_USING_GROUP = 1001;
constexpr int IDC_DEVICE_LABEL = 1002;
constexpr int IDC_DEVICE_COMBO = 1003;
constexpr int IDC_PORT_COMBO = 1004;
constexpr int IDC_PORT_LABEL = 9319;

// Controls of "Port Settings"
constexpr int IDC_AUTO_DETECT = 1001;
constexpr int IDC_CONNECTION_GROUP = 1005;
constexpr int IDC_BAUD_COMBO = 1007;
constexpr int IDC_PARITY_COMBO = 1009;
constexpr int IDC_STOP_BITS_COMBO = 1011;
constexpr int IDC_FLOW_COMBO = 1013;

// Check boxes of "Options"
constexpr int IDC_SEND_CK = 1002;
constexpr int IDC_ECHO = 1003;
constexpr int IDC_WAIT_FOR_PROMPT = 1004;
constexpr int IDC_BREAK_ON_CONNECT = 1010;
constexpr int IDC_SOFTWARE_BREAK = 1011;
constexpr int IDC_CONNECT_ON_STARTUP = 1013;
constexpr int IDC_OVERWRITE_LOG = 1022;
constexpr int IDC_SCRIPT_ERROR_CHECK = 1023;

// String table entries with a name of their own
constexpr int IDS_BAUD_FIRST = 1472;
constexpr int IDS_PARITY_FIRST = 1511;
constexpr int IDS_FLOW_FIRST = 61516;
constexpr int IDS_STOP_BITS_ONE = 61519;
constexpr int IDS_STOP_BITS_TWO = 61521;
constexpr int IDS_DEVICE_FIRST = 61539;
constexpr int IDS_PINGING_WARNING = 10010;
// Instrument detection: its progress dialog and its two messages
constexpr int IDD_PROCESS = 131;
constexpr int IDC_PROCESS_MESSAGE = 1003;
constexpr int IDS_ADCP_NOT_DETECTED = 10006;
constexpr int IDS_ADCP_DETECTED = 10007;
constexpr int IDS_NOT_A_SCRIPT_FILE = 10011;
constexpr int IDS_END_LOGGING = 14000;
constexpr int IDS_LOG_TO_FILE = 14001;
constexpr int IDS_SEND_SCRIPT = 14002;
constexpr int IDS_STOP_SCRIPT = 14003;
// Recorder recovery and the directory chooser
constexpr int IDD_RECOVER_DATA = 9700;
constexpr int IDD_DOWNLOAD_DIRECTORY = 9701;
constexpr int IDD_SELECT_RECOVER_FILES = 9702;
constexpr int IDC_RECOVER_DIRECTORY = 9720;
constexpr int IDC_RECOVER_CORRECTIONS = 9721;
constexpr int IDC_RECOVER_ELAPSED = 9722;
constexpr int IDC_RECOVER_TIME_TO_GO = 9723;
constexpr int IDC_RECOVER_TOTAL_BYTES = 9724;
constexpr int IDC_RECOVER_BYTES_SO_FAR = 9725;
constexpr int IDC_RECOVER_TOTAL_BAR = 9726;
constexpr int IDC_RECOVER_FILE_NAME = 9727;
constexpr int IDC_RECOVER_FILE_BYTES = 9728;
constexpr int IDC_RECOVER_FILE_SO_FAR = 9729;
constexpr int IDC_RECOVER_FILE_BAR = 9730;
constexpr int IDC_RECOVER_FILE_LIST = 9731;
constexpr int IDC_DOWNLOAD_DIRECTORY = 9740;
constexpr int IDC_DOWNLOAD_BROWSE = 9741;
constexpr int IDC_SELECT_ALL_FILES = 9752;
constexpr int IDC_RECORDER_FILES = 9753;
constexpr int IDC_DISABLE_WINDOW_OUTPUT = 9765;
constexpr int IDS_FILE_NAME = 9750;
constexpr int IDS_SIZE = 9751;
constexpr int IDS_DIRECTORY_MISSING = 9760;
constexpr int IDS_DIRECTORY_BLANK = 9761;
constexpr int IDS_RECOVERY_COMPLETE = 9762;
constexpr int IDS_NO_DATA_TO_RECOVER = 9763;
constexpr int IDS_RECORDER_NO_CONTACT = 10005;
constexpr int IDS_NO_LOOP_RECORDER = 10008;
constexpr int IDS_RECORDER_NOT_FOUND = 10009;
constexpr int IDD_CHOOSE_DIRECTORY = 8801;
constexpr int IDC_DIRECTORY_NAME = 8850;
constexpr int IDC_DIRECTORY_LIST = 8851;
constexpr int IDC_DRIVES = 8852;
constexpr int IDS_CANNOT_CHANGE_DIRECTORY = 8875;
constexpr int IDS_NEED_DIRECTORY_PATH = 8876;

// Settings sections and value names
constexpr const char* kSectionPortSettings = "Port Settings";
constexpr const char* kSectionSettings = "Settings";
constexpr const char* kValueConfig = "Config";
constexpr const char* kValueSendCK = "Send CK";
constexpr const char* kValueSoftwareBreak = "Software Break";
constexpr const char* kValueEcho = "Echo";
constexpr const char* kValuePromptWait = "WaitForPromptInScript";
constexpr const char* kValueOrder = "Order";
constexpr const char* kValueOutsideScriptPath = "Outside Script Path ";
constexpr const char* kValueScriptPath = "Script Path";
constexpr const char* kValueLogPath = "Log Path";
constexpr const char* kValueFilterIndex = "Filter Index";
constexpr const char* kValueScreenX = "Screen x";
constexpr const char* kValueScreenY = "Screen y";
constexpr const char* kValueScreenCx = "Screen cx";
constexpr const char* kValueScreenCy = "Screen cy";

constexpr int kBaudCount = 10;
constexpr int kParityCount = 5;
constexpr int kFlowCount = 3;
constexpr int kDeviceTypeCount = 8;

// Text of a string-table entry; empty when the id has none.
std::string LoadResString(int id);
// The status-bar prompt of a command: the part before "\n" of its entry.
std::string CommandPrompt(int id);
// The tooltip of a command: the part after "\n" of its entry.
std::string CommandTooltip(int id);

} // namespace parlim
