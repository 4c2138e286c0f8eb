#pragma once
#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class CFileList;
class QCheckBox;

// "Select Files To Recover": the files of the recorder's listing, one to
// choose, or all of them.
class CSelectRecoverFiles : public QDialog {
    Q_OBJECT
public:
    struct RecorderFile {
        std::string name;
        std::uint64_t size = 0;
    };

    explicit CSelectRecoverFiles(std::string listing, QWidget* parent = nullptr);

    // The file rows of a recorder listing, in order; rows of size 0 left out.
    static std::vector<RecorderFile> ParseListing(const std::string& listing);

    // Size of the chosen row, 0 when all files are to come.
    std::uint64_t GetSelectedSize() const;

    void OnSelectAll();
    void OnCancel();

    CFileList* m_list = nullptr;
    // 1-based row chosen, 0 for all files.
    int m_nSelected = 0;

protected:
    void reject() override;

private:
    void OnInitDialog();

    std::string m_strListing;
    QCheckBox* m_selectAll = nullptr;
    std::vector<std::uint64_t> m_dwSizes;
};
