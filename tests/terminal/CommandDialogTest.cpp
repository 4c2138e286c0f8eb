#include "CCmdHistDG.h"
#include "CNbCmdDG.h"
#include "CParlimApp.h"
#include "CParlimDoc.h"
#include "CSaveComboBox.h"
#include "CScListDG.h"
#include "CSendBytesDlg.h"
#include "GuiTestApp.h"
#include "PumpUntil.h"
#include "Messages.h"
#include "Settings.h"
#include "TempDir.h"
#include "TempSettings.h"
#include "resource.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

using namespace parlim;

namespace {

template <typename T> T* Control(QWidget* parent, int id)
{
    return parent->findChild<T*>(QString::number(id));
}

// Acts once on the dialog when it is the modal window.
void WhenModal(QDialog& dialog, std::function<void()> action)
{
    auto* timer = new QTimer(&dialog);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &dialog, action] {
        if (QApplication::activeModalWidget() != &dialog)
            return;
        timer->stop();
        action();
    });
    timer->start(10);
}

void Click(QWidget* dialog, int id)
{
    Control<QPushButton>(dialog, id)->click();
}

class CommandDialogs : public ::testing::Test {
protected:
    CommandDialogs() { platform::SetProgramName("Parlim"); }

    std::string Value(const std::string& name) { return platform::GetProfileString(kSectionSettings, name); }
    void SetValue(const std::string& name, const std::string& value)
    {
        platform::WriteProfileString(kSectionSettings, name, value);
    }
    void FillList(const std::string& prefix, int count)
    {
        for (int i = 0; i < count; ++i)
            SetValue(prefix + std::to_string(i), "/data/run" + std::to_string(i) + ".txt");
    }

    // Chooses the text in the recent-files dialog and returns its answer.
    int Choose(CScListDG& dialog, const QString& text)
    {
        WhenModal(dialog, [&dialog, text] {
            Control<QComboBox>(&dialog, CScListDG::kComboId)->setEditText(text);
            Click(&dialog, platform::IDOK);
        });
        return dialog.DoModal();
    }

    QApplication& m_qapp = GuiTestApp();
    TempSettings m_settings;
    CParlimApp m_app;
    platform::RecordingMessageBackend m_messages;
};

TEST_F(CommandDialogs, AChosenEntryBecomesTheNewestOfTenAndTheOldestGoes)
{
    FillList("SCBS", 10);
    CScListDG dialog(m_app.Settings(), true, false);
    EXPECT_EQ(Control<QComboBox>(&dialog, CScListDG::kComboId)->currentText(), "/data/run0.txt");
    ASSERT_EQ(Choose(dialog, "/data/new.txt"), platform::IDOK);
    EXPECT_EQ(dialog.GetSelection(), "/data/new.txt");
    EXPECT_EQ(Value("SCBS0"), "/data/new.txt");
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(Value("SCBS" + std::to_string(i)), "/data/run" + std::to_string(i - 1) + ".txt");
}

TEST_F(CommandDialogs, AnEntryEqualWithoutRegardToCaseIsReplaced)
{
    FillList("SCBS", 5);
    SetValue("SCBS3", "c:\\data\\run.txt");
    CScListDG dialog(m_app.Settings(), true, false);
    ASSERT_EQ(Choose(dialog, "C:\\DATA\\RUN.TXT"), platform::IDOK);
    EXPECT_EQ(Value("SCBS0"), "C:\\DATA\\RUN.TXT");
    EXPECT_EQ(Value("SCBS1"), "/data/run0.txt");
    EXPECT_EQ(Value("SCBS3"), "/data/run2.txt");
    EXPECT_EQ(Value("SCBS4"), "/data/run4.txt");
    EXPECT_EQ(Value("SCBS5"), "");
}

TEST_F(CommandDialogs, TheListEndsAtTheFirstGapAndCancelRewritesItAsLoaded)
{
    SetValue("SCBL0", "/a.txt");
    SetValue("SCBL1", "/b.txt");
    SetValue("SCBL3", "/d.txt");
    CScListDG dialog(m_app.Settings(), false, false);
    auto* combo = Control<QComboBox>(&dialog, CScListDG::kComboId);
    EXPECT_EQ(combo->count(), 2);
    SetValue("SCBL0", "/changed.txt");
    WhenModal(dialog, [&] { Click(&dialog, platform::IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
    EXPECT_EQ(Value("SCBL0"), "/a.txt");
    EXPECT_EQ(Value("SCBL1"), "/b.txt");
    EXPECT_EQ(Value("SCBL2"), "");
    EXPECT_EQ(Value("SCBL3"), "/d.txt");
}

TEST_F(CommandDialogs, AnEmptyPathIsRefusedAndTheDialogStays)
{
    CScListDG dialog(m_app.Settings(), true, false);
    WhenModal(dialog, [&] {
        Click(&dialog, platform::IDOK);
        EXPECT_TRUE(dialog.isVisible());
        Control<QComboBox>(&dialog, CScListDG::kComboId)->setEditText(" ");
        Click(&dialog, platform::IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), platform::IDOK);
    EXPECT_EQ(m_messages.Texts(), std::vector<std::string>{"Cannot Be Blank"});
    EXPECT_EQ(dialog.GetSelection(), " ");
}

TEST_F(CommandDialogs, TheCheckBoxShowsAndStoresTheSlotOptionUnlessHidden)
{
    m_app.Settings().m_nCurPort = 2;
    m_app.Settings().SetOverwriteLog(true);
    {
        CScListDG dialog(m_app.Settings(), false, false);
        EXPECT_EQ(dialog.windowTitle(), "Recent Log Files");
        EXPECT_EQ(Control<QLabel>(&dialog, CScListDG::kLabelId)->text(), "&Select Log File");
        auto* box = Control<QCheckBox>(&dialog, CScListDG::kCheckId);
        EXPECT_EQ(box->text(), "&OverWrite Log File");
        EXPECT_TRUE(box->isChecked());
        WhenModal(dialog, [&] { box->setChecked(false); });
        ASSERT_EQ(Choose(dialog, "/tmp/log.txt"), platform::IDOK);
        EXPECT_FALSE(m_app.Settings().GetOverwriteLog());
    }
    {
        CScListDG dialog(m_app.Settings(), false, true);
        auto* box = Control<QCheckBox>(&dialog, CScListDG::kCheckId);
        WhenModal(dialog, [&] {
            EXPECT_FALSE(box->isVisible());
            box->setChecked(true);
        });
        ASSERT_EQ(Choose(dialog, "/tmp/log.txt"), platform::IDOK);
        EXPECT_FALSE(m_app.Settings().GetOverwriteLog());
    }
    {
        CScListDG dialog(m_app.Settings(), true, false);
        auto* box = Control<QCheckBox>(&dialog, CScListDG::kCheckId);
        EXPECT_EQ(box->text(), "&Error Checking On Script Files");
        EXPECT_FALSE(box->isChecked());
        WhenModal(dialog, [&] { box->setChecked(true); });
        ASSERT_EQ(Choose(dialog, "/tmp/s.txt"), platform::IDOK);
        EXPECT_EQ(m_app.Settings().m_PortSettings[2].m_bScriptErrorCheck, 1);
        EXPECT_EQ(m_app.Settings().m_PortSettings[0].m_bScriptErrorCheck, 0);
    }
}

// Closes the file dialog that Browse opens: with that file chosen, or
// cancelled when the name is empty.
void WhenBrowsing(QDialog& owner, const QString& file)
{
    auto* timer = new QTimer(&owner);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, file] {
        auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!files)
            return;
        timer->stop();
        if (file.isEmpty()) {
            files->reject();
            return;
        }
        // Typed whole into the name field: the dialog lists its folder only later.
        files->findChild<QLineEdit*>("fileNameEdit")->setText(file);
        static_cast<QDialog*>(files)->accept();
    });
    timer->start(10);
}

// The control that has the keyboard, by id (the name field's editor counts as the field).
std::string FocusedId(CScListDG& dialog)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus && focus == Control<QComboBox>(&dialog, CScListDG::kComboId)->lineEdit())
        focus = focus->parentWidget();
    return focus ? focus->objectName().toStdString() : "(none)";
}

// Browses, and gives the dialog the keyboard back once the file dialog has
// gone, as the window manager does.
bool BrowseAndReturn(CScListDG& dialog, const QString& file)
{
    WhenBrowsing(dialog, file);
    Control<QPushButton>(&dialog, CScListDG::kBrowseId)->click();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

TEST_F(CommandDialogs, TheNameFieldHasTheKeyboardAtTheStartAndAfterBrowsing)
{
    TempDir folder;
    const QString script = QString::fromStdString(folder.File("run.txt"));
    std::ofstream(script.toStdString()) << "";
    const QString log = QString::fromStdString(folder.File("new.txt"));
    const std::string field = std::to_string(CScListDG::kComboId);
    for (const bool scriptMode : {true, false}) {
        SCOPED_TRACE(scriptMode ? "script" : "log");
        CScListDG dialog(m_app.Settings(), scriptMode, false);
        auto* combo = Control<QComboBox>(&dialog, CScListDG::kComboId);
        auto keyboardUser = [&] {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            ASSERT_EQ(FocusedId(dialog), field);
            QTest::keyClicks(QApplication::focusWidget(), "/a");
            EXPECT_EQ(combo->currentText(), "/a");
            const int tabOrder[] = {CScListDG::kBrowseId, CScListDG::kCheckId, platform::IDOK};
            for (int id : tabOrder) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                EXPECT_EQ(FocusedId(dialog), std::to_string(id));
            }

            ASSERT_TRUE(BrowseAndReturn(dialog, ""));
            ASSERT_EQ(FocusedId(dialog), field);
            QTest::keyClicks(QApplication::focusWidget(), "b");
            EXPECT_EQ(combo->currentText(), "/ab");

            ASSERT_TRUE(BrowseAndReturn(dialog, scriptMode ? script : log));
            ASSERT_EQ(FocusedId(dialog), field);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        };
        WhenModal(dialog, [&] {
            keyboardUser();
            // A failed step must not leave the test waiting on the dialog.
            if (dialog.isVisible())
                dialog.reject();
        });
        ASSERT_EQ(dialog.DoModal(), platform::IDOK);
        EXPECT_EQ(dialog.GetSelection(), (scriptMode ? script : log).toStdString());
    }
}

TEST_F(CommandDialogs, EnterTakesTheOfferedRecentName)
{
    platform::WriteProfileString(kSectionSettings, "SCBS0", "/data/run.txt");
    CScListDG dialog(m_app.Settings(), true, false);
    WhenModal(dialog, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        if (dialog.isVisible())
            dialog.reject();
    });
    ASSERT_EQ(dialog.DoModal(), platform::IDOK);
    EXPECT_EQ(dialog.GetSelection(), "/data/run.txt");
}

TEST_F(CommandDialogs, TypingIsLimitedButABrowsedPathIsKeptWhole)
{
    CSaveComboBox combo(kSectionSettings, "SCB");
    QTest::keyClicks(combo.lineEdit(), QString(300, 'x'));
    EXPECT_EQ(combo.currentText().size(), CSaveComboBox::kMaxTyped);
    combo.setEditText(QString(400, 'y'));
    EXPECT_EQ(combo.currentText().size(), 400);
}

TEST_F(CommandDialogs, TheBinaryCommandIsTypedInCapitals)
{
    CNbCmdDG dialog;
    WhenModal(dialog, [&] {
        QTest::keyClicks(Control<QLineEdit>(&dialog, CNbCmdDG::kEditId), "ps0");
        Click(&dialog, platform::IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), platform::IDOK);
    EXPECT_EQ(dialog.GetCommand(), "PS0");

    CSendBytesDlg bytes;
    WhenModal(bytes, [&] {
        QTest::keyClicks(Control<QLineEdit>(&bytes, CSendBytesDlg::kEditId), "0d 0a");
        Click(&bytes, platform::IDOK);
    });
    ASSERT_EQ(bytes.DoModal(), platform::IDOK);
    EXPECT_EQ(bytes.GetCommand(), "0d 0a");
}

TEST_F(CommandDialogs, TheHistoryOffersTheNewestCommand)
{
    const std::list<std::string> history{"PS0", "CR1"};
    CCmdHistDG dialog(history);
    auto* combo = Control<QComboBox>(&dialog, CCmdHistDG::kComboId);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), "CR1");
    WhenModal(dialog, [&] {
        QTest::keyClicks(combo->lineEdit(), "ts?");
        Click(&dialog, platform::IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), platform::IDOK);
    EXPECT_EQ(dialog.GetCommand(), "ts?");

    // One Enter runs the offered newest command; no completion swallows it.
    CCmdHistDG enterDialog(history);
    WhenModal(enterDialog, [&] {
        QTest::keyClick(Control<QComboBox>(&enterDialog, CCmdHistDG::kComboId)->lineEdit(), Qt::Key_Return);
        QTimer::singleShot(kGenerous, &enterDialog, &QDialog::reject);
    });
    ASSERT_EQ(enterDialog.DoModal(), platform::IDOK);
    EXPECT_EQ(enterDialog.GetCommand(), "CR1");

    CCmdHistDG emptyDialog({});
    EXPECT_EQ(Control<QComboBox>(&emptyDialog, CCmdHistDG::kComboId)->currentIndex(), -1);
}

} // namespace
