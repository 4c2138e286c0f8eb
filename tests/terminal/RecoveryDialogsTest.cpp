#include "CDirListBox.h"
#include "CDownloadDirectoryDlg.h"
#include "CKelvDRDlg.h"
#include "CRecoverCancel.h"
#include "CSelectRecoverFiles.h"
#include "DialogDriver.h"
#include "DialogKeyboard.h"
#include "FileNameText.h"
#include "GuiTestApp.h"
#include "Messages.h"
#include "QtMessageBackend.h"
#include "TempDir.h"
#include "TempSettings.h"
#include "resource.h"

#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace parlim;

namespace {

class DirectoryChooserTest : public ::testing::Test {
protected:
    DirectoryChooserTest() : m_saved(QDir::currentPath())
    {
        GuiTestApp();
        for (const char* name : {"work", "work/sub", "work/sub/b", "work/sub/B", "work/sub/a", "work/sub/.git"})
            ::mkdir(m_root.File(name).c_str(), 0755);
    }
    ~DirectoryChooserTest() override { QDir::setCurrent(m_saved); }

    static std::vector<std::string> Items(const CDirListBox& list)
    {
        std::vector<std::string> texts;
        for (int row = 0; row < list.count(); ++row)
            texts.push_back(list.item(row)->text().toStdString());
        return texts;
    }

    QString m_saved;
    TempDir m_root;
    platform::RecordingMessageBackend m_messages;
};

TEST_F(DirectoryChooserTest, ListsLevelsThenSortedSubDirectoriesAndNavigates)
{
    const std::string sub = m_root.File("work/sub");
    CKelvDRDlg dialog("  " + sub + "  ");
    const std::vector<std::string> items = Items(*dialog.m_dirList);
    ASSERT_GE(items.size(), 4u);
    EXPECT_EQ(items.front(), "/");
    EXPECT_EQ(std::vector<std::string>(items.end() - 4, items.end()),
              (std::vector<std::string>{"sub", "B", "a", "b"}));
    EXPECT_EQ(QDir::currentPath().toStdString(), sub);

    // Selecting a sub-directory and OK enters it; OK on the level accepts it.
    dialog.m_dirList->setCurrentRow(static_cast<int>(items.size()) - 1);
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(Items(*dialog.m_dirList).back(), "b");
    dialog.m_dirList->setCurrentRow(dialog.m_dirList->count() - 1);
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strChosenPath, sub + "/b/");
}

TEST_F(DirectoryChooserTest, RefusesAnEmptyOrMissingPathAndStartsInTheCurrentDirectory)
{
    QDir::setCurrent(QString::fromStdString(m_root.File("work")));
    CKelvDRDlg dialog("/no/such/place");
    EXPECT_EQ(dialog.m_edit->text().toStdString(), m_root.File("work"));
    dialog.m_edit->setText("");
    dialog.OnOK();
    dialog.m_edit->setText("/no/such/place");
    dialog.OnOK();
    ASSERT_EQ(m_messages.Texts().size(), 2u);
    EXPECT_EQ(m_messages.Texts()[0], "You must specify a directory path");
    EXPECT_EQ(m_messages.Texts()[1], "The current directory cannot be changed to. /no/such/place");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

} // namespace

namespace {

// Every row's name is shown whole, and the name and size columns both lie
// inside the list.
void ExpectWholeNamesBesideSizes(QTreeWidget* list)
{
    ASSERT_NE(list, nullptr);
    ASSERT_GT(list->topLevelItemCount(), 0);
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QString name = list->topLevelItem(row)->text(0);
        EXPECT_GT(list->columnWidth(0), list->fontMetrics().horizontalAdvance(name)) << name.toStdString();
    }
    EXPECT_LE(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
    EXPECT_EQ(list->headerItem()->text(0), "File Name");
    EXPECT_EQ(list->headerItem()->text(1), "Size");
}

} // namespace

TEST(RecoveryLists, RecorderFilesShowTheirNamesOnceLaidOut)
{
    GuiTestApp();
    CSelectRecoverFiles dialog("RR?\r\n"
                               "  SURVEY01 000             4096 x\r\n"
                               "  MOORING2 001           123456 x\r\n"
                               ">");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    ExpectWholeNamesBesideSizes(dialog.findChild<QTreeWidget*>(QString::number(IDC_RECORDER_FILES)));
}

TEST(RecoveryLists, RecoveredFilesShowTheirNamesOnceLaidOut)
{
    GuiTestApp();
    CRecoverCancel progress(nullptr);
    ASSERT_TRUE(progress.Create(nullptr));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
    progress.FileDone("SURVEY01.000", 4096);
    progress.FileDone("MOORING2.001", 123456);
    ExpectWholeNamesBesideSizes(progress.findChild<QTreeWidget*>(QString::number(IDC_RECOVER_FILE_LIST)));
}

TEST(RecoveryLists, DirectoryLabelLeadsToTheDirectoryBox)
{
    GuiTestApp();
    TempSettings settings;
    CDownloadDirectoryDlg dialog("SCB", "Settings");
    QLabel* label = nullptr;
    for (auto* candidate : dialog.findChildren<QLabel*>())
        if (candidate->text() == "&Directory Where Files Will Be Downloaded:")
            label = candidate;
    ASSERT_NE(label, nullptr);
    auto* directories = dialog.findChild<QComboBox*>(QString::number(IDC_DOWNLOAD_DIRECTORY));
    EXPECT_EQ(label->buddy(), directories);
    ASSERT_TRUE(ShowForKeyboard(dialog));
    dialog.findChild<QWidget*>("1")->setFocus();
    QTest::keyClick(&dialog, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(directories->hasFocus() || directories->isAncestorOf(QApplication::focusWidget()));
}

TEST(RecoveryLists, ADownloadFolderWhoseNameIsNoTextKeepsItsBytes)
{
    GuiTestApp();
    TempSettings settings;
    TempDir folder;
    const std::string name = folder.File("dl\xE9");
    ASSERT_EQ(::mkdir(name.c_str(), 0700), 0);
    CDownloadDirectoryDlg dialog("SCB", "Settings");
    dialog.findChild<QComboBox*>(QString::number(IDC_DOWNLOAD_DIRECTORY))->setEditText(platform::NameToText(name));
    dialog.OnOK();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_strDirectory, name);
}

namespace {

class RecoverDataWindow : public ::testing::Test {
protected:
    RecoverDataWindow()
    {
        EXPECT_TRUE(m_window.Create(nullptr));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    template <typename T> T* Part(int id) { return m_window.findChild<T*>(QString::number(id)); }
    QRect OnScreen(QWidget* part) { return {part->mapToGlobal(QPoint(0, 0)), part->size()}; }

    // The application comes first: the window is a widget.
    bool m_application = (GuiTestApp(), true);
    CRecoverCancel m_window{nullptr};
};

} // namespace

TEST_F(RecoverDataWindow, ALongNameIsElidedInPlaceAndShownWholeInItsTooltip)
{
    auto* list = Part<QTreeWidget>(IDC_RECOVER_FILE_LIST);
    auto* current = Part<QLabel>(IDC_RECOVER_FILE_NAME);
    auto listPlace = [&] { return list->mapTo(&m_window, QPoint(0, 0)); };
    m_window.StartFile("SHORT.000", 10);
    QApplication::processEvents();
    const QPoint shortNamePlace = listPlace();
    const int windowWidth = m_window.width();

    const std::string longName = std::string(150, 'N') + std::string(150, 'M') + ".000";
    m_window.StartFile(longName, 1000);
    QApplication::processEvents();
    EXPECT_EQ(listPlace().x(), shortNamePlace.x());
    EXPECT_EQ(listPlace().y(), shortNamePlace.y());
    EXPECT_EQ(m_window.width(), windowWidth);
    EXPECT_EQ(current->toolTip().toStdString(), longName);
    const std::string shown = current->text().toStdString();
    EXPECT_LT(shown.size(), longName.size());
    EXPECT_EQ(shown.front(), 'N');
    EXPECT_EQ(shown.substr(shown.size() - 5), "M.000");

    m_window.FileDone(longName, 1000);
    QApplication::processEvents();
    EXPECT_EQ(listPlace().x(), shortNamePlace.x());
    EXPECT_EQ(list->textElideMode(), Qt::ElideMiddle);
    EXPECT_EQ(list->topLevelItem(0)->toolTip(0).toStdString(), longName);
}

TEST_F(RecoverDataWindow, TheEndBoxLeavesTheValuesReadable)
{
    platform::QtMessageBackend screenMessages;
    platform::SetMessageBackend(&screenMessages);
    m_window.SetTotalBytes(5000);
    m_window.UpdateProgress(100, 1000, 3, 12);
    QRect box;
    DialogDriver driver({[&box](QDialog& dialog) {
        box = dialog.frameGeometry();
        dialog.accept();
    }});
    m_window.ShowComplete();
    platform::SetMessageBackend(nullptr);

    ASSERT_TRUE(driver.Done());
    for (int value : {IDC_RECOVER_TIME_TO_GO, IDC_RECOVER_TOTAL_BYTES, IDC_RECOVER_BYTES_SO_FAR})
        EXPECT_FALSE(box.intersects(OnScreen(Part<QLabel>(value)))) << value;
}
