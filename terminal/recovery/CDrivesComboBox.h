#pragma once
#include <QComboBox>

#include <string>

// The mounted volumes, each with the icon of its kind.
class CDrivesComboBox : public QComboBox {
    Q_OBJECT
public:
    // Kinds, with the numbers the icon table uses.
    enum DriveType { kUnknown = 0, kRemovable = 2, kFixed = 3, kRemote = 4, kCdRom = 5, kRamDisk = 6 };

    explicit CDrivesComboBox(QWidget* parent = nullptr);

    void FillDrives();
    // Selects the volume that holds the path; nothing changes when none does.
    void SelectDrive(const std::string& path);

private:
    std::pair<int, int> CellOf(const QModelIndex& index) const;
};
