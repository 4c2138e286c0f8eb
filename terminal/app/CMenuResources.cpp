#include "CMenuResources.h"

#include "resource.h"

using namespace parlim;

const std::vector<CMenuResources::Popup>& CMenuResources::FrameMenu()
{
    static const std::vector<Popup> menu = {
        {"&File", {{ID_FILE_NEW, "&New\tCtrl+N"}, {0, nullptr}, {ID_APP_EXIT, "E&xit"}}},
        {"&View", {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}}},
        {"&Help", {{ID_HELP, "&Contents...\tF1"}, {ID_APP_ABOUT, "&About Parlim..."}}},
    };
    return menu;
}

const std::vector<CMenuResources::Popup>& CMenuResources::ConnectionMenu()
{
    static const std::vector<Popup> menu = {
        {"&File",
         {{ID_FILE_NEW, "&New Connection...\tCtrl+N"},
          {ID_FILE_CLOSE, "&Close"},
          {0, nullptr},
          {ID_FILE_SEND_BREAK, "Send A &Break\tEnd"},
          {ID_FILE_RECOVER_RECORDER, "Recover Recor&der...\tCtrl+Page Down"},
          {ID_FILE_RECOVER_LOOP_RECORDER, "Recover Loo&p-Recorder..."},
          {0, nullptr},
          {ID_FILE_SEND_SCRIPT, "&Send Script File...\tF2"},
          {ID_FILE_EDIT_SCRIPT, "&Edit Script File..."},
          {ID_FILE_LOG, "&Log To File...\tF3"},
          {ID_FILE_VIEW_LOG, "&View Log File..."},
          {0, nullptr},
          {ID_FILE_PROPERTIES, "Prop&erties...\tF5"},
          {ID_FILE_CONNECT, "C&onnect\tF8"},
          {ID_FILE_DISCONNECT, "D&isconnect\tF9"},
          {0, nullptr},
          {ID_APP_EXIT, "E&xit"}}},
        {"&Edit", {{ID_EDIT_COPY, "&Copy\tCtrl+C"}, {ID_EDIT_PASTE, "&Paste\tCtrl+V"}}},
        {"&View",
         {{ID_VIEW_TOOLBAR, "&Toolbar"}, {ID_VIEW_STATUS_BAR, "&Status Bar"}, {0, nullptr},
          {ID_VIEW_HEX_ASCII, "&HEX/ASCII\tF4"}}},
        {"&Transfer",
         {{ID_TRANSFER_BINARY_COMMAND, "Send Binary &Command"},
          {ID_TRANSFER_COMMAND_HISTORY, "Command &History...\tUp"},
          {ID_TRANSFER_PC_TIME, "&PC Time to ADCP\tCtrl+T"},
          {ID_TRANSFER_HEX_BYTES, "&Bytes in Hex Format...\tCtrl+B"}}},
        {"T&ools", {{ID_TOOLS_OPTIONS, "O&ptions..."}}},
        {"&Window", {{ID_WINDOW_CASCADE, "&Cascade"}, {ID_WINDOW_TILE_HORZ, "&Tile"}, {ID_WINDOW_CLEAR, "C&lear"}}},
        {"&Help", {{ID_HELP, "&Contents...\tF1"}, {ID_APP_ABOUT, "&About Parlim..."}}},
    };
    return menu;
}

const std::vector<CMenuResources::Key>& CMenuResources::KeyTable()
{
    static const std::vector<Key> keys = {
        {QKeySequence(Qt::CTRL | Qt::Key_B), ID_TRANSFER_HEX_BYTES},
        {QKeySequence(Qt::CTRL | Qt::Key_C), ID_EDIT_COPY},
        {QKeySequence(Qt::CTRL | Qt::Key_N), ID_FILE_NEW},
        {QKeySequence(Qt::CTRL | Qt::Key_T), ID_TRANSFER_PC_TIME},
        {QKeySequence(Qt::CTRL | Qt::Key_V), ID_EDIT_PASTE},
        {QKeySequence(Qt::Key_End), ID_FILE_SEND_BREAK},
        {QKeySequence(Qt::Key_F1), ID_HELP},
        {QKeySequence(Qt::Key_F2), ID_FILE_SEND_SCRIPT},
        {QKeySequence(Qt::Key_F3), ID_FILE_LOG},
        {QKeySequence(Qt::Key_F4), ID_VIEW_HEX_ASCII},
        {QKeySequence(Qt::Key_F5), ID_FILE_PROPERTIES},
        {QKeySequence(Qt::Key_F6), ID_NEXT_PANE},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), ID_PREV_PANE},
        {QKeySequence(Qt::Key_F8), ID_FILE_CONNECT},
        {QKeySequence(Qt::Key_F9), ID_FILE_DISCONNECT},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), ID_FILE_RECOVER_RECORDER},
    };
    return keys;
}
