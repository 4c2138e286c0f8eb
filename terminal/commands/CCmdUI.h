#pragma once
#include <optional>
#include <string>

// What an update rule says about one command or status pane: enabled,
// checked, and a text when the rule sets one.
struct CCmdUI {
    explicit CCmdUI(int id) : m_nID(id) {}

    void Enable(bool on = true) { m_bEnabled = on; }
    void SetCheck(bool on = true) { m_bChecked = on; }
    void SetText(std::string text) { m_text = std::move(text); }

    int m_nID;
    bool m_bEnabled = true;
    bool m_bChecked = false;
    std::optional<std::string> m_text;
};
