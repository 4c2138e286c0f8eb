#include "CSelectRecoverFiles.h"

#include "CFileList.h"
#include "FileSizeColumns.h"
#include "LeadingDecimal.h"
#include "resource.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace parlim;

namespace {
std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Piece(const std::string& text, std::size_t from, std::size_t count)
{
    return from < text.size() ? text.substr(from, count) : std::string();
}
} // namespace

CSelectRecoverFiles::CSelectRecoverFiles(std::string listing, QWidget* parent)
    : QDialog(parent), m_strListing(std::move(listing))
{
    setWindowTitle("Select Files To Recover");
    setObjectName(QString::number(IDD_SELECT_RECOVER_FILES));
    OnInitDialog();
}

std::vector<CSelectRecoverFiles::RecorderFile> CSelectRecoverFiles::ParseListing(const std::string& listing)
{
    std::vector<RecorderFile> files;
    std::string rest = listing;
    std::size_t end;
    while (!rest.empty() && (end = rest.find('\r')) != std::string::npos) {
        std::string line = rest.substr(0, end);
        if (rest.size() <= 2)
            break;
        rest.erase(0, std::min(rest.size(), end + 2));
        if (line.size() < 32 || line.compare(0, 2, "  ") != 0)
            continue;
        const std::size_t used = line.find("Bytes used on");
        if (used != std::string::npos && used > 0)
            continue;
        line.erase(0, line.find_first_not_of(' '));
        const std::string name = Trimmed(Piece(line, 0, 8));
        const std::string extension = Trimmed(Piece(line, 9, 3));
        // Seventeen digits at most: the value always fits.
        const auto size = static_cast<std::uint64_t>(ReadLeadingDecimal(Trimmed(Piece(line, 12, 17))).value);
        if (size == 0)
            continue;
        files.push_back({extension.empty() ? name : name + "." + extension, size});
    }
    return files;
}

void CSelectRecoverFiles::OnInitDialog()
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Recorder Files:", this));
    m_list = new CFileList(this);
    m_list->setObjectName(QString::number(IDC_RECORDER_FILES));
    layout->addWidget(m_list);
    auto* row = new QHBoxLayout;
    m_selectAll = new QCheckBox("Select All Files", this);
    m_selectAll->setObjectName(QString::number(IDC_SELECT_ALL_FILES));
    row->addWidget(m_selectAll);
    row->addStretch();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("2");
    ok->setDefault(true);
    row->addWidget(ok);
    layout->addLayout(row);
    connect(m_selectAll, &QCheckBox::toggled, this, &CSelectRecoverFiles::OnSelectAll);
    connect(ok, &QPushButton::clicked, this, &CSelectRecoverFiles::OnCancel);
    connect(m_list, &CFileList::Chosen, this, &CSelectRecoverFiles::OnCancel);
    OnSelectAll();

    SetUpFileSizeColumns(m_list, "9999999999999");
    for (const RecorderFile& file : ParseListing(m_strListing)) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(0, QString::fromStdString(file.name));
        item->setText(1, QString::number(file.size));
        m_dwSizes.push_back(file.size);
    }
}

std::uint64_t CSelectRecoverFiles::GetSelectedSize() const
{
    if (m_nSelected < 1 || static_cast<std::size_t>(m_nSelected) > m_dwSizes.size())
        return 0;
    return m_dwSizes[static_cast<std::size_t>(m_nSelected) - 1];
}

void CSelectRecoverFiles::OnSelectAll()
{
    m_list->setEnabled(!m_selectAll->isChecked());
}

void CSelectRecoverFiles::OnCancel()
{
    QTreeWidgetItem* current = m_list->currentItem();
    if (!m_selectAll->isChecked() && current != nullptr && current->isSelected())
        m_nSelected = m_list->indexOfTopLevelItem(current) + 1;
    QDialog::reject();
}

void CSelectRecoverFiles::reject()
{
    OnCancel();
}
