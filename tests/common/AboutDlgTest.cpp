#include "CAboutDlg.h"
#include "DialogKeyboard.h"
#include "GuiTestApp.h"
#include "Messages.h"
#include "SystemFacts.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {
QString TextOf(const QDialog& dialog, const char* id)
{
    auto* label = dialog.findChild<QLabel*>(id);
    return label ? label->text() : QString("<missing %1>").arg(id);
}
} // namespace

TEST(AboutDlg, ShowsProgramVersionSystemAndMemory)
{
    GuiTestApp();
    platform::SetProgramName("Pelmar");
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Pelmar");
    EXPECT_EQ(TextOf(about, "8601"), "Pelmar");
    EXPECT_EQ(TextOf(about, "8603").toStdString(),
              CAboutDlg::VersionText(QSV_VERSION_MAJOR, QSV_VERSION_MINOR, QSV_VERSION_PATCH));
    EXPECT_FALSE(TextOf(about, "8604").isEmpty());
    EXPECT_EQ(TextOf(about, "8605").toStdString(), platform::OsVersionText());
    EXPECT_EQ(TextOf(about, "8607"), QString("%1 KB").arg(platform::PhysicalMemoryKb()));
    EXPECT_TRUE(TextOf(about, "8602").endsWith(" KB"));

    QStringList labels;
    for (auto* label : about.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains("Available Memory:"));
    EXPECT_TRUE(labels.contains("Physical Memory:"));
    about.show();
    EXPECT_TRUE(HasFixedSize(about));
}

TEST(AboutDlg, OkClosesTheBox)
{
    GuiTestApp();
    CAboutDlg about;
    auto* ok = about.findChild<QPushButton*>("1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    QMetaObject::invokeMethod(ok, &QPushButton::click, Qt::QueuedConnection);
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}
