#include "CAboutDlg.h"

#include "Format.h"
#include "Messages.h"
#include "ProgramIcon.h"
#include "SystemFacts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {
const char* const kLegalNotice = "Copyright (C) QSV. All rights reserved.";

QLabel* Field(QWidget* parent, const char* id, const std::string& text)
{
    auto* label = new QLabel(QString::fromStdString(text), parent);
    label->setObjectName(id);
    return label;
}
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    const std::string& name = platform::ProgramName();
    setWindowTitle(QString::fromStdString(platform::Format("About %s", name.c_str())));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);

    auto* grid = new QGridLayout;
    grid->addWidget(Field(this, "8601", name), 0, 0, 1, 2);
    grid->addWidget(Field(this, "8603", VersionText(QSV_VERSION_MAJOR, QSV_VERSION_MINOR, QSV_VERSION_PATCH)),
                    1, 0, 1, 2);
    grid->addWidget(Field(this, "8604", kLegalNotice), 2, 0, 1, 2);
    grid->addWidget(Field(this, "8605", platform::OsVersionText()), 3, 0, 1, 2);
    grid->addWidget(new QLabel("Available Memory:", this), 4, 0);
    grid->addWidget(Field(this, "8602", platform::Format("%lu KB", static_cast<unsigned long>(
                                                                       platform::AvailableMemoryKb()))),
                    4, 1);
    grid->addWidget(new QLabel("Physical Memory:", this), 5, 0);
    grid->addWidget(Field(this, "8607", platform::Format("%lu KB", static_cast<unsigned long>(
                                                                       platform::PhysicalMemoryKb()))),
                    5, 1);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(icon);
    layout->addLayout(grid, 1);
    layout->addWidget(ok, 0, Qt::AlignTop);
}

std::string CAboutDlg::VersionText(int major, int minor, int patch)
{
    std::string text = platform::Format("Version %d.%02d", major, minor);
    if (patch != 0)
        text += platform::Format(".%02d", patch);
    return text;
}
