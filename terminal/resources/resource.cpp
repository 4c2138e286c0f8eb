#include "resource.h"

#include <map>

namespace parlim {

namespace {

const std::map<int, const char*>& StringTable()
{
    static const std::map<int, const char*> table = {
        {IDR_MAINFRAME, "Parlim - Halvorn Pemberlin"},
        {IDR_PARLIMTYPE, "\nParlix\nParlim\n\n\nParlim.Document\nParlim Document"},
        {ID_INDICATOR_TITLE, "Pages"},
        {ID_INDICATOR_SETTINGS, "Disconnected    "},
        {ID_INDICATOR_LOG, "F3: Log  OFF"},
        {ID_INDICATOR_HEX, "F4:  ASCII"},
        {ID_INDICATOR_SPACER, "   "},
        {ID_INDICATOR_SPACER2, "     "},
        {ID_INDICATOR_SCRIPT, "F2: Script OFF"},
        {1472, "300"},
        {1473, "600"},
        {1474, "1200"},
        {1475, "2400"},
        {1476, "4800"},
        {1477, "9600"},
        {1478, "19200"},
        {1479, "38400"},
        {1480, "57600"},
        {1481, "115200"},
        {1511, "Even"},
        {1512, "Odd"},
        {1513, "None"},
        {1514, "Mark"},
        {1515, "Space"},
        {IDS_ADCP_NOT_DETECTED, "Could not detect ADCP."},
        {IDS_ADCP_DETECTED, "ADCP detected."},
        {IDS_PINGING_WARNING,
         "\"If ADCP is pinging please disconnect serial cable.\n"
         "On some systems shutting down the program or computer can cause a break.\"\n\n"},
        {IDS_NOT_A_SCRIPT_FILE, "This is not a script file - lines longer than 2000 characters detected."},
        {IDS_END_LOGGING, "End File &Logging\tF3"},
        {IDS_LOG_TO_FILE, "&Log To File...\tF3"},
        {IDS_SEND_SCRIPT, "&Send Script File...\tF2"},
        {IDS_STOP_SCRIPT, "&Stop Script File...\tF2"},
        {IDS_FILE_NAME, "File Name"},
        {IDS_SIZE, "Size"},
        {IDS_DIRECTORY_MISSING, "The directory does not exist"},
        {IDS_DIRECTORY_BLANK, "The directory cannot be blank"},
        {IDS_RECOVERY_COMPLETE, "Recovery Complete"},
        {IDS_NO_DATA_TO_RECOVER, "The is no data to recover from the recorder."},
        {IDS_RECORDER_NO_CONTACT, "Cannot communicate properly with the recorder."},
        {IDS_NO_LOOP_RECORDER, "Loop-Recorder not present."},
        {IDS_RECORDER_NOT_FOUND, "The %s Recorder can not be found.\n                 Verify ADCP type. "},
        {IDS_CANNOT_CHANGE_DIRECTORY, "The current directory cannot be changed to. %1"},
        {IDS_NEED_DIRECTORY_PATH, "You must specify a directory path"},
        {61516, "None"},
        {61517, "Xon/Xoff"},
        {61518, "Hardware"},
        {61519, "1"},
        {61520, "1.5"},
        {61521, "2"},
        {61539, "Tarnhold"},
        {61540, "Fennick"},
        {61541, "Glissom"},
        {61542, "Quillon"},
        {61543, "Tesk"},
        {61544, "Plorid"},
        {61545, "Hux"},
        {61546, "Sallow"},
        {ID_FILE_PROPERTIES, "Connection properties\nProperties"},
        {ID_FILE_CONNECT, "Connect to the COM port\nConnect  F8"},
        {ID_FILE_DISCONNECT, "Disconnect the current connection\nDisconnect  F9"},
        {ID_FILE_LOG, "Toggles file logging\nToggle Logging"},
        {ID_FILE_SEND_SCRIPT, "Toggle scripting\nToggle Script"},
        {ID_VIEW_HEX_ASCII, "View HEX/ASCII\nToggle HEX/ASCII"},
        {ID_FILE_SEND_BREAK, "Send a break\nSend Break"},
        {ID_TRANSFER_BINARY_COMMAND, "Send binary command\nBinary Cmd"},
        {ID_FILE_RECOVER_RECORDER, "Recover data from recorder\nRecover Recorder"},
        {ID_TOOLS_OPTIONS, "User selected options\nOptions"},
        {ID_FILE_EDIT_SCRIPT, "Edit script file\nEdit Script"},
        {ID_TRANSFER_COMMAND_HISTORY, "Display command history\nCommand History"},
        {ID_WINDOW_CLEAR, "Clear the widow"},
        {ID_TRANSFER_PC_TIME, "Send PC time to the instrument "},
        {ID_TRANSFER_HEX_BYTES, "Transfer bytes in hex format"},
        {ID_FILE_RECOVER_LOOP_RECORDER, "Recover loop-recorder for Quillon"},
        {ID_FILE_NEW, "Create a new connection\nNew Connection"},
        {ID_FILE_CLOSE, "Close opened port\nClose"},
        {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
        {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    };
    return table;
}

std::string PromptPart(int id, bool tooltip)
{
    std::string text = LoadResString(id);
    std::size_t newline = text.find('\n');
    if (newline == std::string::npos)
        return tooltip ? std::string() : text;
    return tooltip ? text.substr(newline + 1) : text.substr(0, newline);
}

} // namespace

std::string LoadResString(int id)
{
    auto found = StringTable().find(id);
    return found == StringTable().end() ? std::string() : std::string(found->second);
}

std::string CommandPrompt(int id)
{
    return PromptPart(id, false);
}

std::string CommandTooltip(int id)
{
    return PromptPart(id, true);
}

} // namespace parlim
