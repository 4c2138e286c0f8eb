// The user of a terminal program a test started: types QSV_PLAYED_KEYS into the
// connected terminal and answers the download directory with QSV_PLAYED_DIRECTORY.
#include <QApplication>
#include <QComboBox>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

namespace {

class PlayedUser : public QObject {
public:
    PlayedUser() : m_keys(qgetenv("QSV_PLAYED_KEYS"))
    {
        connect(&m_steps, &QTimer::timeout, this, &PlayedUser::Step);
        m_steps.start(20);
    }

private:
    void Step()
    {
        for (QWidget* widget : QApplication::allWidgets()) {
            if (!widget->isVisible())
                continue;
            if (widget->isWindow() && widget->objectName() == "9701") {
                widget->findChild<QComboBox*>("9740")->setEditText(qEnvironmentVariable("QSV_PLAYED_DIRECTORY"));
                widget->findChild<QPushButton*>("1")->click();
                return;
            }
            // The main window's title names the port once it is open; the keys are posted,
            // as a key that opens a dialog must not run it inside this step.
            if (!m_keys.isEmpty() && widget->inherits("CLogWnd") && widget->window()->windowTitle().contains("COM")) {
                for (char key : std::exchange(m_keys, QByteArray())) {
                    const int code = key == '\r' ? static_cast<int>(Qt::Key_Return) : key;
                    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                        QApplication::postEvent(widget, new QKeyEvent(type, code, Qt::NoModifier, QString(QChar(key))));
                }
            }
        }
    }

    QByteArray m_keys;
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
