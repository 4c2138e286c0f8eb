#include "CKelvDRDlg.h"

#include "CDirListBox.h"
#include "CDrivesComboBox.h"
#include "Messages.h"
#include "resource.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <sys/stat.h>

using namespace parlim;

namespace {
std::string TrimmedWhiteSpace(const std::string& text)
{
    const char* blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsDirectory(const std::string& path)
{
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
} // namespace

CKelvDRDlg::CKelvDRDlg(const std::string& initialDir, QWidget* parent)
    : QDialog(parent), m_strInitialDir(TrimmedWhiteSpace(initialDir))
{
    setWindowTitle("Choose Directory");
    setObjectName(QString::number(IDD_CHOOSE_DIRECTORY));
    OnInitDialog();
}

void CKelvDRDlg::OnInitDialog()
{
    auto* layout = new QVBoxLayout(this);
    auto* nameLabel = new QLabel("Directory &Name:", this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QString::number(IDC_DIRECTORY_NAME));
    nameLabel->setBuddy(m_edit);
    m_dirList = new CDirListBox(this);
    m_dirList->setObjectName(QString::number(IDC_DIRECTORY_LIST));
    auto* drivesLabel = new QLabel("Dri&ves:", this);
    m_drives = new CDrivesComboBox(this);
    m_drives->setObjectName(QString::number(IDC_DRIVES));
    drivesLabel->setBuddy(m_drives);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("1");
    ok->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("2");
    layout->addWidget(nameLabel);
    layout->addWidget(m_edit);
    layout->addWidget(m_dirList);
    layout->addWidget(drivesLabel);
    layout->addWidget(m_drives);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CKelvDRDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CKelvDRDlg::reject);

    m_drives->FillDrives();
    m_edit->setText(IsDirectory(m_strInitialDir) ? QString::fromStdString(m_strInitialDir) : QDir::currentPath());
    SelectDriveOfEdit();
    FillDirList();
    connect(m_dirList, &QListWidget::itemSelectionChanged, this, &CKelvDRDlg::OnSelchangeDirList);
    connect(m_dirList, &QListWidget::itemDoubleClicked, this, &CKelvDRDlg::OnOK);
    connect(m_drives, &QComboBox::activated, this, &CKelvDRDlg::OnSelchangeDrives);
}

void CKelvDRDlg::FillDirList()
{
    m_dirList->Fill(m_edit->text().toStdString());
}

void CKelvDRDlg::SelectDriveOfEdit()
{
    m_drives->SelectDrive(m_edit->text().toStdString());
}

void CKelvDRDlg::OnSelchangeDirList()
{
    std::string path;
    if (m_dirList->GetSelectedPath(path))
        m_edit->setText(QString::fromStdString(path));
}

void CKelvDRDlg::OnSelchangeDrives()
{
    if (m_drives->currentIndex() < 0)
        return;
    m_edit->setText(m_drives->currentText());
    FillDirList();
}

void CKelvDRDlg::accept()
{
    OnOK();
}

void CKelvDRDlg::OnOK()
{
    std::string selected;
    if (!m_dirList->GetSelectedPath(selected))
        return;
    std::string current;
    m_dirList->GetCurrentPath(current);
    if (selected != current) {
        m_dirList->Fill(selected);
        return;
    }
    std::string path = m_edit->text().toStdString();
    if (path.empty()) {
        platform::ShowMessage(LoadResString(IDS_NEED_DIRECTORY_PATH), platform::MB_OK);
        m_edit->setFocus();
        return;
    }
    if (!CDirListBox::EnterDirectory(path)) {
        m_edit->setFocus();
        return;
    }
    if (path.back() != '/')
        path += '/';
    m_strChosenPath = path;
    QDialog::accept();
}
