// The user of a terminal program that a test started: a plugin the program
// loads through QT_QPA_GENERIC_PLUGINS=playeduser. Once a connection window
// is open it types the keys of QSV_PLAYED_KEYS into it, and it answers the
// download directory dialog with the folder of QSV_PLAYED_DIRECTORY.
#include <QApplication>
#include <QComboBox>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr int kStepMs = 20;
const char* const kDirectoryDialog = "9701";
const char* const kDirectoryCombo = "9740";

QWidget* VisibleWindow(const QString& name)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->objectName() == name)
            return window;
    }
    return nullptr;
}

// The terminal window of a connection whose port is open (the main window's
// title then names it).
QWidget* ConnectedTerminal()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* frame = qobject_cast<QMainWindow*>(window);
        if (!frame || !frame->isVisible() || !frame->windowTitle().contains("COM"))
            continue;
        for (QWidget* child : frame->findChildren<QWidget*>()) {
            if (child->inherits("CLogWnd"))
                return child;
        }
    }
    return nullptr;
}

// Posted: a key that starts a command with a dialog must not run it inside this step.
void Press(QWidget* target, char key)
{
    const int code = key == '\r' ? static_cast<int>(Qt::Key_Return) : key;
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, code, Qt::NoModifier, QString(QChar(key))));
    QApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, code, Qt::NoModifier, QString(QChar(key))));
}

class PlayedUser : public QObject {
public:
    PlayedUser()
        : m_keys(qgetenv("QSV_PLAYED_KEYS")), m_directory(qEnvironmentVariable("QSV_PLAYED_DIRECTORY"))
    {
        connect(&m_steps, &QTimer::timeout, this, &PlayedUser::Step);
        m_steps.start(kStepMs);
    }

private:
    void Step()
    {
        if (QWidget* dialog = VisibleWindow(kDirectoryDialog)) {
            dialog->findChild<QComboBox*>(kDirectoryCombo)->setEditText(m_directory);
            dialog->findChild<QPushButton*>("1")->click();
        }
        if (m_keys.isEmpty())
            return;
        if (QWidget* terminal = ConnectedTerminal()) {
            for (char key : std::exchange(m_keys, QByteArray()))
                Press(terminal, key);
        }
    }

    QByteArray m_keys;
    const QString m_directory;
    QTimer m_steps;
};

} // namespace

class PlayedUserPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "PlayedUser.json")
public:
    // The application deletes the object as it ends.
    QObject* create(const QString&, const QString&) override { return new PlayedUser; }
};

#include "PlayedUser.moc"
