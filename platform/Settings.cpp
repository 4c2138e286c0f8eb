#include "Settings.h"

#include "Messages.h"

#include <QSettings>

namespace platform {

namespace {
QSettings Store()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "QSV",
                     QString::fromStdString(ProgramName()));
}

QString Key(const std::string& section, const std::string& name)
{
    return QString::fromStdString(section) + "/" + QString::fromStdString(name);
}
} // namespace

std::string GetProfileString(const std::string& section, const std::string& name,
                             const std::string& defaultValue)
{
    const QVariant value = Store().value(Key(section, name));
    if (!value.isValid())
        return defaultValue;
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();
    return value.toString().toStdString();
}

void WriteProfileString(const std::string& section, const std::string& name,
                        const std::string& value)
{
    // Text that is not valid UTF-8 (a file name's bytes) is kept as bytes.
    const QString text = QString::fromStdString(value);
    if (text.toStdString() == value)
        Store().setValue(Key(section, name), text);
    else
        Store().setValue(Key(section, name), QByteArray::fromStdString(value));
}

int GetProfileInt(const std::string& section, const std::string& name, int defaultValue)
{
    bool ok = false;
    int value = Store().value(Key(section, name)).toInt(&ok);
    return ok ? value : defaultValue;
}

void WriteProfileInt(const std::string& section, const std::string& name, int value)
{
    Store().setValue(Key(section, name), value);
}

std::vector<std::uint8_t> GetProfileBinary(const std::string& section, const std::string& name)
{
    QByteArray bytes = Store().value(Key(section, name)).toByteArray();
    return {bytes.begin(), bytes.end()};
}

void WriteProfileBinary(const std::string& section, const std::string& name,
                        const std::vector<std::uint8_t>& value)
{
    Store().setValue(Key(section, name),
                     QByteArray(reinterpret_cast<const char*>(value.data()),
                                static_cast<qsizetype>(value.size())));
}

void RemoveProfileValue(const std::string& section, const std::string& name)
{
    Store().remove(Key(section, name));
}

bool SyncProfile()
{
    QSettings store = Store();
    store.sync();
    return store.status() == QSettings::NoError;
}

} // namespace platform
