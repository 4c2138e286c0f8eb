#include "CSelectFileDlg.h"

#include "FileDialogFilters.h"
#include "FileNameText.h"
#include "FilePaths.h"
#include "Messages.h"

#include <QHeaderView>
#include <QTreeView>

#include <sys/stat.h>

namespace {
constexpr int kDefaultWidthCharacters = 150;
}

CSelectFileDlg::CSelectFileDlg(const std::string& title, bool openDialog, const std::string& defaultExt,
                               const std::string& fileName, unsigned flags, const std::string& filter,
                               QWidget* parent)
    : QFileDialog(parent)
    , m_strFileName(fileName)
{
    // The dialog is our own widget so that it behaves alike everywhere and
    // tests can reach it.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(openDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode((flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!defaultExt.empty())
        setDefaultSuffix(QString::fromStdString(defaultExt));
    setNameFilters(platform::NameFiltersFromTable(filter));
    setWindowTitle(QString::fromStdString(title));
    setLabelText(QFileDialog::Accept, QString::fromStdString(title));
    FitDetailColumns();
}

void CSelectFileDlg::FitDetailColumns()
{
    auto* details = findChild<QTreeView*>("treeView");
    if (!details)
        return;
    // Size, type and date as wide as what they show, the name the rest; the
    // default size leaves the name room for a long file name beside them.
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    resize(sizeHint().expandedTo(QSize(fontMetrics().averageCharWidth() * kDefaultWidthCharacters, 0)));
}

void CSelectFileDlg::SetInitialDir(const std::string& directory)
{
    m_strInitialDir = directory;
}

int CSelectFileDlg::DoModal()
{
    // A path in the file name wins over the initial directory.
    // The dialog folds "." and ".." as text; after a symbolic link the
    // system leads elsewhere.
    if (!m_strInitialDir.empty())
        setDirectory(platform::NameToText(platform::ResolveDotFolders(m_strInitialDir)));
    if (!m_strFileName.empty())
        selectFile(platform::NameToText(platform::ResolveDotFolders(m_strFileName)));
    return exec() == QDialog::Accepted ? platform::IDOK : platform::IDCANCEL;
}

std::string CSelectFileDlg::GetPathName() const
{
    QStringList files = selectedFiles();
    return files.isEmpty() ? std::string() : platform::NameFromDialogText(files.front());
}

void CSelectFileDlg::accept()
{
    const QStringList files = selectedFiles();
    struct stat st {};
    const bool existingFileByBytes = fileMode() == ExistingFile && !files.isEmpty()
        && stat(platform::NameFromDialogText(files.front()).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
    if (existingFileByBytes)
        QDialog::accept();
    else
        QFileDialog::accept();
}
