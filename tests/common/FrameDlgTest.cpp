#include "CBaseFile.h"
#include "CProcessingDlg.h"
#include "CSelectFileDlg.h"
#include "CUtilityDlg.h"
#include "DialogKeyboard.h"
#include "GuiTestApp.h"
#include "FakeDesktop.h"
#include "HelpPage.h"
#include "IProgress.h"
#include "LastFileNames.h"
#include "Messages.h"
#include "QtMessageBackend.h"
#include "TempDir.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <functional>

namespace {

// A utility dialog with a run button and a field, like the programs' own.
class SampleDlg : public CUtilityDlg {
public:
    explicit SampleDlg(bool runEndsNormally)
        : m_field(new QLineEdit(this))
    {
        auto* run = new QPushButton("&Run", this);
        run->setObjectName("1007");
        connect(run, &QPushButton::clicked, this, [this, runEndsNormally] {
            ++m_runs;
            FinishRun(runEndsNormally);
        });
    }
    void StartAutoRun() { PostAutoRun(); }
    void Help() { OnHelp(); }
    bool Browse(FileKind kind) { return BrowseFile(kind, m_field); }
    std::string FieldName() const { return FileName(m_field); }
    void Run(const std::function<bool()>& open, const std::function<bool(IProgress&)>& run)
    {
        RunWithProgress(open, run);
    }

    QLineEdit* m_field;
    int m_runs = 0;
};

// Lets nothing quit the test program.
class SwallowQuit : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Quit; }
};

// Runs `action` on the modal dialog that the next exec() shows.
void OnNextModal(std::function<void(QWidget*)> action)
{
    QTimer::singleShot(0, [action] { action(QApplication::activeModalWidget()); });
}

class FrameDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
        GuiTestApp();
        platform::SetProgramName("Sample");
        platform::ResetMessagesShown();
    }
    TempDir m_config;
    TempDir m_files;
};

} // namespace

TEST_F(FrameDialogs, ProgressDisablesMainDialogUntilItGoes)
{
    QDialog main;
    {
        CProcessingDlg progress;
        ASSERT_TRUE(progress.Create(&main));
        EXPECT_EQ(progress.windowTitle(), "Please Wait: Processing ...");
        EXPECT_FALSE(main.isEnabled());
        EXPECT_TRUE(HasFixedSize(progress));
        EXPECT_TRUE(progress.Pump());
    }
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(FrameDialogs, CancelStopsAtTheNextPumpAndReenablesAtOnce)
{
    QDialog main;
    CProcessingDlg progress;
    progress.Create(&main);
    auto* cancel = progress.findChild<QPushButton*>("2");
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    // The click waits in the queue like a user's, the next pump delivers it.
    QMetaObject::invokeMethod(cancel, &QPushButton::click, Qt::QueuedConnection);
    EXPECT_FALSE(progress.Pump());
    EXPECT_TRUE(main.isEnabled());
    EXPECT_FALSE(progress.isVisible());
    EXPECT_FALSE(progress.Pump());
}

TEST_F(FrameDialogs, ClosingTheWindowOrAQuitStopsTheWork)
{
    CProcessingDlg closed;
    closed.Create(nullptr);
    closed.close();
    EXPECT_TRUE(closed.IsCancelled());
    EXPECT_FALSE(closed.Pump());

    // The quit reaches the progress window first; the application then drops
    // it, so the test program's later event loops still run.
    SwallowQuit swallow;
    QCoreApplication::instance()->installEventFilter(&swallow);
    CProcessingDlg quit;
    quit.Create(nullptr);
    QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
    EXPECT_FALSE(quit.Pump());
    QCoreApplication::instance()->removeEventFilter(&swallow);
}

TEST_F(FrameDialogs, UserCanCancelWhileTheMainDialogRunsModally)
{
    SampleDlg dialog(true);
    bool cancelled = false;
    QTimer::singleShot(0, &dialog, [&] {
        CProcessingDlg progress;
        progress.Create(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
        // A click through the window system, where a window blocked by a
        // modal one would lose it.
        auto* cancel = progress.findChild<QPushButton*>("2");
        QTest::mouseClick(progress.windowHandle(), Qt::LeftButton, {},
                          cancel->mapTo(&progress, cancel->rect().center()));
        for (int i = 0; i < 1000 && progress.Pump(); ++i)
            QTest::qWait(1);
        cancelled = progress.IsCancelled();
        dialog.accept();
    });
    dialog.exec();
    EXPECT_TRUE(cancelled);
}

// Clicks Cancel in the progress window as soon as one shows, counting the clicks.
void CancelOnceProgressShows(QObject* context, int* clicks)
{
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, clicks] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<CProcessingDlg*>(window);
            if (progress && progress->isVisible()) {
                progress->findChild<QPushButton*>("2")->click();
                ++*clicks;
                timer->stop();
            }
        }
    });
    timer->start(5);
}

TEST_F(FrameDialogs, CancelEndsAWaitForAStreamWhileOpeningAndWhileRunning)
{
    SampleDlg dialog(true);
    const std::string fifo = m_files.File("peer.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    // Creating an output FIFO waits for a reader that never comes; the
    // window shows for the wait, before the run proper.
    int clicks = 0;
    CancelOnceProgressShows(&dialog, &clicks);
    HRESULT created = S_OK;
    bool ran = false;
    dialog.Run([&] { return SUCCEEDED(created = CBaseFile().Create(fifo, true)); },
               [&](IProgress&) { return ran = true; });
    EXPECT_TRUE(FAILED(created));
    EXPECT_FALSE(ran);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(dialog.isEnabled());

    // Reading it while a writer stays silent.
    const int silentWriter = open(fifo.c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(silentWriter, 0);
    CancelOnceProgressShows(&dialog, &clicks);
    CBaseFile input;
    HRESULT read = S_OK;
    dialog.Run([&] { return SUCCEEDED(input.Open(fifo)); },
               [&](IProgress&) {
                   char byte = 0;
                   return SUCCEEDED(read = input.Read(&byte, 1));
               });
    close(silentWriter);
    EXPECT_TRUE(FAILED(read));
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(dialog.isEnabled());
}

TEST_F(FrameDialogs, ProgressRangePastTwoGigabytesFitsTheBar)
{
    CProcessingDlg huge;
    auto* hugeBar = huge.findChild<QProgressBar*>("1008");
    huge.SetRange(5ull << 30);
    huge.SetPos(5ull << 29);
    EXPECT_TRUE(huge.Pump());
    EXPECT_EQ(hugeBar->value() * 2, hugeBar->maximum());

    CProcessingDlg large;
    auto* bar = large.findChild<QProgressBar*>("1008");
    ASSERT_NE(bar, nullptr);
    large.SetRange(0xFFFFFFF0u);
    large.SetPos(0xFFFFFF00u);
    EXPECT_TRUE(large.Pump());
    EXPECT_EQ(bar->maximum(), 0x7FFFFFF8);
    EXPECT_EQ(bar->value(), 0x7FFFFF80);

    CProcessingDlg small;
    bar = small.findChild<QProgressBar*>("1008");
    small.SetRange(1000);
    small.SetPos(500);
    EXPECT_TRUE(small.Pump());
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_EQ(bar->value(), 500);
}

TEST_F(FrameDialogs, AutoRunClicksRunAndClosesAfterANormalEnd)
{
    SampleDlg dialog(true);
    dialog.StartAutoRun();
    EXPECT_TRUE(dialog.m_bAutoRun);
    EXPECT_EQ(dialog.m_runs, 0);
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.m_runs, 1);
    EXPECT_EQ(dialog.ExitStatus(), 0);
}

TEST_F(FrameDialogs, AutoRunThatShowedAMessageExitsWithOne)
{
    platform::RecordingMessageBackend messages;
    SampleDlg dialog(true);
    dialog.StartAutoRun();
    platform::ShowMessage("something went wrong");
    dialog.exec();
    EXPECT_EQ(dialog.ExitStatus(), 1);
}

TEST_F(FrameDialogs, HeadlessAutoRunEndingOnAnErrorEndsTheProgram)
{
    SampleDlg dialog(false);
    dialog.StartAutoRun();
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(dialog.m_runs, 1);
    EXPECT_EQ(dialog.ExitStatus(), 1);
}

TEST_F(FrameDialogs, AboutEntryOpensTheAboutBox)
{
    SampleDlg dialog(true);
    QAction* about = dialog.findChild<QAction*>("16");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "&About Sample...");
    EXPECT_TRUE(dialog.actions().contains(about));
    QString caption;
    OnNextModal([&caption](QWidget* box) {
        caption = box ? box->windowTitle() : QString();
        if (auto* dialogBox = qobject_cast<QDialog*>(box))
            dialogBox->accept();
    });
    about->trigger();
    EXPECT_EQ(caption, "About Sample");
}

TEST_F(FrameDialogs, BrowseShowsSelectStartsAtLastNameAndStoresTheChoice)
{
    std::string chosen = m_files.File("in.ens");
    WriteFileText(chosen, "x");
    SaveLastInputFileName(m_files.File("earlier.ens"));
    SampleDlg dialog(true);

    QString caption, accept, directory;
    OnNextModal([&](QWidget* widget) {
        auto* files = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(files, nullptr);
        caption = files->windowTitle();
        accept = files->labelText(QFileDialog::Accept);
        directory = files->directory().absolutePath();
        EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
        files->selectFile(QString::fromStdString(chosen));
        static_cast<QDialog*>(files)->accept();
    });
    EXPECT_TRUE(dialog.Browse(FileKind::Input));
    EXPECT_EQ(caption, "Select");
    EXPECT_EQ(accept, "Select");
    EXPECT_EQ(directory.toStdString(), m_files.Path());
    EXPECT_EQ(dialog.m_field->text().toStdString(), chosen);
    EXPECT_EQ(GetLastInputFileName(), chosen);
}

TEST_F(FrameDialogs, BrowseKeepsTheBytesOfANameThatIsNotUtf8)
{
    const std::string chosen = m_files.File("bad\xff.000");
    WriteFileText(chosen, "x");
    SaveLastInputFileName(m_files.File("earlier\xfe.ens"));
    SampleDlg dialog(true);
    for (int round = 0; round < 2; ++round) {
        QString directory;
        OnNextModal([&](QWidget* widget) {
            auto* files = qobject_cast<QFileDialog*>(widget);
            ASSERT_NE(files, nullptr);
            directory = files->directory().absolutePath();
            // The dialog lists the byte as U+FFFD; its own check cannot find that name.
            files->selectFile(QFile::decodeName(QByteArray::fromStdString(chosen)));
            static_cast<QDialog*>(files)->accept();
        });
        EXPECT_TRUE(dialog.Browse(FileKind::Input));
        EXPECT_EQ(directory.toStdString(), m_files.Path());
        EXPECT_EQ(dialog.FieldName(), chosen);
        EXPECT_EQ(GetLastInputFileName(), chosen);
    }
}

TEST_F(FrameDialogs, CancelledBrowseChangesNothing)
{
    SaveLastOutputFileName("/somewhere/out000.000");
    SampleDlg dialog(true);
    dialog.m_field->setText("kept");
    OnNextModal([](QWidget* widget) {
        auto* files = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->fileMode(), QFileDialog::AnyFile);
        files->reject();
    });
    EXPECT_FALSE(dialog.Browse(FileKind::Output));
    EXPECT_EQ(dialog.m_field->text(), "kept");
    EXPECT_EQ(GetLastOutputFileName(), "/somewhere/out000.000");
}

TEST_F(FrameDialogs, SelectDialogWithMustExistRefusesMissingFiles)
{
    WriteFileText(m_files.File("present.ens"), "x");
    CSelectFileDlg dialog("Select", true, "", "", OFN_FILEMUSTEXIST, "All Files (*.*)|*.*||");
    EXPECT_EQ(dialog.nameFilters(), QStringList{"All Files (*)"});
    dialog.setDirectory(QString::fromStdString(m_files.Path()));
    OnNextModal([&](QWidget* widget) {
        auto* files = qobject_cast<QFileDialog*>(widget);
        ASSERT_NE(files, nullptr);
        files->selectFile(QString::fromStdString(m_files.File("missing.ens")));
        QPushButton* select = nullptr;
        for (auto* button : files->findChildren<QPushButton*>())
            if (button->text() == "Select")
                select = button;
        ASSERT_NE(select, nullptr);
        EXPECT_FALSE(select->isEnabled());
        files->selectFile(QString::fromStdString(m_files.File("present.ens")));
        EXPECT_TRUE(select->isEnabled());
        files->reject();
    });
    EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
}

TEST_F(FrameDialogs, SelectDialogOpensInsideTheScreenWhateverItAsksFor)
{
    // Large letters make it ask for more than the screen, as a scale factor does.
    const QFont font = QApplication::font();
    QFont large = font;
    large.setPixelSize(24);
    QApplication::setFont(large);
    CSelectFileDlg dialog("Select", true, "", "", OFN_FILEMUSTEXIST, "All Files (*.*)|*.*||");
    QApplication::setFont(font);
    const QRect area = dialog.screen()->availableGeometry();
    ASSERT_GT(dialog.width(), area.width());
    QRect shown;
    OnNextModal([&](QWidget* widget) {
        shown = widget->frameGeometry();
        static_cast<QDialog*>(widget)->reject();
    });
    EXPECT_EQ(dialog.DoModal(), platform::IDCANCEL);
    EXPECT_TRUE(area.contains(shown)) << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
}

TEST_F(FrameDialogs, MessageBoxesShowProgramCaptionAndAnswerWithTheButton)
{
    platform::QtMessageBackend backend;
    QString caption, text;
    OnNextModal([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(backend.Show("File x already exists.\r\nDo you want to replace it?",
                           platform::MB_YESNO | platform::MB_ICONEXCLAMATION),
              platform::IDNO);
    EXPECT_EQ(caption, "Sample");
    EXPECT_EQ(text, "File x already exists.\nDo you want to replace it?");
}

TEST_F(FrameDialogs, HelpSaysWhetherThePageOrAnApplicationToShowItIsMissing)
{
    platform::RecordingMessageBackend messages;
    SampleDlg dialog(true);
    const std::string page = platform::HelpPagePath();
    {
        FakeOpener opener(true);
        dialog.Help();
        EXPECT_TRUE(opener.m_opened.empty());
        HelpPageFile file;
        dialog.Help();
        EXPECT_EQ(opener.m_opened, std::vector<std::string>{page});
    }
    {
        FakeOpener none(false);
        HelpPageFile file;
        dialog.Help();
    }
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Cannot open file " + page + ".",
                                                          "No application found to open the file " + page + "."}));
}

// Programs on a PATH of the test's own that write down the arguments they get.
class FakePrograms {
public:
    FakePrograms() : m_path(qgetenv("PATH")), m_browser(qgetenv("BROWSER"))
    {
        qputenv("PATH", QByteArray::fromStdString(m_bin.Path()));
        qunsetenv("BROWSER");
    }
    ~FakePrograms()
    {
        qputenv("PATH", m_path);
        qputenv("BROWSER", m_browser);
    }
    FakePrograms(const FakePrograms&) = delete;
    FakePrograms& operator=(const FakePrograms&) = delete;

    void Add(const std::string& name)
    {
        const std::string file = m_bin.File(name);
        WriteFileText(file, "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + Record(name) + ".part\n/bin/mv " + Record(name)
                                + ".part " + Record(name) + "\n");
        QFile::setPermissions(QString::fromStdString(file), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    // The arguments the program got, one a line, once it has run.
    std::string Arguments(const std::string& name) const
    {
        const QString record = QString::fromStdString(Record(name));
        if (!QTest::qWaitFor([&] { return QFile::exists(record); }, 30000))
            return "(did not run)";
        const std::string arguments = ReadFileText(Record(name));
        QFile::remove(record);
        return arguments;
    }

private:
    std::string Record(const std::string& name) const { return m_records.File(name + ".args"); }

    QByteArray m_path;
    QByteArray m_browser;
    TempDir m_bin;
    TempDir m_records;
};

TEST_F(FrameDialogs, WithoutTheDesktopsOpenerAPageGoesToTheUsersBrowsers)
{
    const std::string path = m_files.File("page.html");
    const std::string url = "file://" + path + "\n";
    FakePrograms programs;
    programs.Add("x-www-browser");
    programs.Add("second");
    qputenv("BROWSER", "missing:second --new-window %s:x-www-browser");
    EXPECT_TRUE(platform::OpenWithDesktop(path));
    EXPECT_EQ(programs.Arguments("second"), "--new-window\n" + url);
    qputenv("BROWSER", "missing");
    EXPECT_TRUE(platform::OpenWithDesktop(path));
    EXPECT_EQ(programs.Arguments("x-www-browser"), url);

    FakePrograms none;
    EXPECT_FALSE(platform::OpenWithDesktop(path));
}

TEST_F(FrameDialogs, TheMenuKeyInATextFieldOffersTheAboutEntry)
{
    SampleDlg dialog(true);
    ASSERT_TRUE(ShowForKeyboard(dialog));
    ASSERT_EQ(QApplication::focusWidget(), dialog.m_field);
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(1, 1), dialog.m_field->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(dialog.m_field, &menuKey);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(dialog.AboutAction()));
    // The field's own editing entries stay.
    EXPECT_GT(menu->actions().size(), 2);
    menu->close();
}

TEST_F(FrameDialogs, FileDialogShowsSizeTypeAndDateWhole)
{
    WriteFileText(m_files.File("a-rather-long-name-for-a-survey-file.000"), "x");
    CSelectFileDlg dialog("Select", true, "", "", OFN_FILEMUSTEXIST, "All Files (*.*)|*.*||");
    dialog.setDirectory(QString::fromStdString(m_files.Path()));
    dialog.show();
    auto* details = dialog.findChild<QTreeView*>("treeView");
    ASSERT_NE(details, nullptr);
    for (int i = 0; i < 1000 && details->model()->rowCount(details->rootIndex()) == 0; ++i)
        QTest::qWait(10);
    ASSERT_GT(details->model()->rowCount(details->rootIndex()), 0);
    QHeaderView* header = details->header();
    for (int column = 1; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const QModelIndex cell = details->model()->index(0, column, details->rootIndex());
        const int textWidth = details->fontMetrics().horizontalAdvance(cell.data().toString());
        EXPECT_GT(header->sectionSize(column), textWidth) << column;
        EXPECT_LE(header->sectionViewportPosition(column) + header->sectionSize(column),
                  details->viewport()->width())
            << column;
    }
}
