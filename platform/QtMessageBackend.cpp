#include "QtMessageBackend.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {
QMessageBox::Icon IconOf(unsigned type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

ButtonSet ButtonsOf(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok};
    case MB_ABORTRETRYIGNORE:
        return {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, QMessageBox::Abort};
    case MB_YESNOCANCEL:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes};
    case MB_YESNO:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes};
    case MB_RETRYCANCEL:
        return {QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry};
    default:
        return {QMessageBox::Ok, QMessageBox::Ok};
    }
}

int AnswerOf(int button, unsigned type)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Abort:
        return IDABORT;
    case QMessageBox::Retry:
        return IDRETRY;
    case QMessageBox::Ignore:
        return IDIGNORE;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return DefaultAnswer(type);
    }
}
} // namespace

int QtMessageBackend::Show(const std::string& text, unsigned type)
{
    ButtonSet set = ButtonsOf(type);
    QMessageBox box(IconOf(type), QString::fromStdString(ProgramName()),
                    QString::fromStdString(NormaliseLineBreaks(text)), set.buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(set.defaultButton);
    return AnswerOf(box.exec(), type);
}

} // namespace platform
