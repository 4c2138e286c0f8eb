#pragma once
#include <QComboBox>

#include <string>
#include <vector>

// A drop-down combo box whose entries persist in the settings as a recent
// list: values "<prefix>0" (newest) to "<prefix>9" of one section. The list
// is loaded when the box is made and saved when its dialog closes.
class CSaveComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kMaxSaved = 10;
    static constexpr int kMaxTyped = 260;

    CSaveComboBox(std::string section, std::string prefix, QWidget* parent = nullptr);
    ~CSaveComboBox() override;

    // Puts the text at the index, removing an entry equal to it without
    // regard to case; returns where it went.
    int AddToTop(int index, const QString& text);

    // Saves the items as they stand now; the owning dialog calls it when it
    // closes, the destructor when nobody did.
    void OnDestroy();

private:
    std::vector<std::string> LoadList() const;
    void SaveList(const std::vector<std::string>& entries) const;
    std::string ValueName(std::size_t index) const;

    std::string m_strSection;
    std::string m_strPrefix;
    bool m_bSaved = false;
};
