#include "CDownloadDirectoryDlg.h"

#include "CKelvDRDlg.h"
#include "CSaveComboBox.h"
#include "FileNameText.h"
#include "Messages.h"
#include "resource.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <sys/stat.h>
#include <unistd.h>

using namespace parlim;

namespace {
// A trailing slash goes, except on the root itself.
std::string WithoutTrailingSlash(std::string path)
{
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}
} // namespace

CDownloadDirectoryDlg::CDownloadDirectoryDlg(const std::string& prefix, const std::string& section, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle("Download Directory");
    setObjectName(QString::number(IDD_DOWNLOAD_DIRECTORY));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("&Directory Where Files Will Be Downloaded:", this);
    layout->addWidget(label);
    auto* row = new QHBoxLayout;
    m_comboDirectory = new CSaveComboBox(section, prefix, this);
    // The label's mnemonic leads to the combo box (and is drawn as one).
    label->setBuddy(m_comboDirectory);
    m_comboDirectory->setObjectName(QString::number(IDC_DOWNLOAD_DIRECTORY));
    row->addWidget(m_comboDirectory, 1);
    auto* browse = new QPushButton("...", this);
    browse->setObjectName(QString::number(IDC_DOWNLOAD_BROWSE));
    browse->setAutoDefault(false);
    row->addWidget(browse);
    layout->addLayout(row);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    m_okButton = ok;
    connect(browse, &QPushButton::clicked, this, &CDownloadDirectoryDlg::OnBrowse);
    connect(ok, &QPushButton::clicked, this, &CDownloadDirectoryDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &CDownloadDirectoryDlg::reject);
}

void CDownloadDirectoryDlg::OnBrowse()
{
    // The chooser opens in the current directory; a failure leaves it.
    [[maybe_unused]] int ignored = ::chdir(platform::NameFromText(m_comboDirectory->currentText()).c_str());
    CKelvDRDlg chooser(std::string(), this);
    if (chooser.exec() != QDialog::Accepted)
        return;
    m_comboDirectory->setEditText(platform::NameToText(WithoutTrailingSlash(chooser.m_strChosenPath)));
    m_okButton->setFocus();
}

void CDownloadDirectoryDlg::accept()
{
    OnOK();
}

void CDownloadDirectoryDlg::OnOK()
{
    const std::string text = platform::NameFromText(m_comboDirectory->currentText());
    if (text.empty()) {
        platform::ShowMessage(LoadResString(IDS_DIRECTORY_BLANK), platform::MB_OK);
        m_comboDirectory->setFocus();
        return;
    }
    struct stat info {};
    // A plain file is no place to download into.
    if (::stat(text.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        platform::ShowMessage(LoadResString(IDS_DIRECTORY_MISSING), platform::MB_OK);
        m_comboDirectory->setFocus();
        return;
    }
    m_strDirectory = WithoutTrailingSlash(text);
    m_comboDirectory->AddToTop(0, platform::NameToText(m_strDirectory));
    QDialog::accept();
}

void CDownloadDirectoryDlg::done(int result)
{
    m_comboDirectory->OnDestroy();
    QDialog::done(result);
}
