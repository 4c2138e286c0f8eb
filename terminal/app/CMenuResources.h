#pragma once
#include <QKeySequence>

#include <vector>

// The terminal's menus and key table as data: the frame builds its menu bars
// and keys from them. An item with id 0 is a separator.
class CMenuResources {
public:
    struct Item {
        int id;
        const char* text;
    };
    struct Popup {
        const char* title;
        std::vector<Item> items;
    };
    struct Key {
        QKeySequence sequence;
        int id;
    };

    // Menu 128: no connection window open.
    static const std::vector<Popup>& FrameMenu();
    // Menu 129: a connection window is active.
    static const std::vector<Popup>& ConnectionMenu();
    // Key table 128.
    static const std::vector<Key>& KeyTable();
};
