#include "FileNameText.h"

#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

namespace platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char16_t kFirstEscape = 0xDC80;
constexpr char16_t kLastEscape = 0xDCFF;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The code point of the valid UTF-8 sequence at `at`, and its length; 0 when
// the bytes there are no valid sequence (overlong forms and surrogates included).
int DecodeSequence(const std::string& bytes, std::size_t at, char32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (at + static_cast<std::size_t>(length) > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        if (!IsContinuation(byte))
            return 0;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < minimum || codePoint > 0x10FFFF || surrogate)
        return 0;
    return length;
}

bool Exists(const std::string& name)
{
    struct stat st {};
    return lstat(name.c_str(), &st) == 0;
}

// The one entry of `directory` that a file dialog shows as `shown`; empty
// when none or several do.
std::string ListedEntry(const std::string& directory, const QString& shown)
{
    std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(directory.empty() ? "." : directory.c_str()), closedir);
    if (!listing)
        return {};
    std::string found;
    int matches = 0;
    while (const dirent* entry = readdir(listing.get())) {
        const QByteArray name(entry->d_name);
        if (QFile::decodeName(name) == shown || NameToText(name.toStdString()) == shown) {
            found = name.toStdString();
            ++matches;
        }
    }
    return matches == 1 ? found : std::string();
}

} // namespace

QString NameToText(const std::string& name)
{
    QString text;
    text.reserve(static_cast<qsizetype>(name.size()));
    for (std::size_t at = 0; at < name.size();) {
        char32_t codePoint = 0;
        const int length = DecodeSequence(name, at, codePoint);
        if (length == 0) {
            text.append(QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(name[at]))));
            ++at;
            continue;
        }
        text.append(QString::fromUcs4(&codePoint, 1));
        at += static_cast<std::size_t>(length);
    }
    return text;
}

std::string NameFromText(const QString& text)
{
    std::string name;
    qsizetype runStart = 0;
    auto flushRun = [&](qsizetype end) {
        name += text.mid(runStart, end - runStart).toStdString();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (unit < kFirstEscape || unit > kLastEscape)
            continue;
        flushRun(i);
        name.push_back(static_cast<char>(unit - kEscapeBase));
        runStart = i + 1;
    }
    flushRun(text.size());
    return name;
}

std::string NameFromDialogText(const QString& text)
{
    const QStringList components = text.split('/');
    std::string name;
    for (qsizetype i = 0; i < components.size(); ++i) {
        if (i > 0)
            name += '/';
        const QString& component = components[i];
        const std::string direct = NameFromText(component);
        if (component.isEmpty() || Exists(name + direct)) {
            name += direct;
            continue;
        }
        const std::string listed = ListedEntry(name, component);
        name += listed.empty() ? direct : listed;
    }
    return name;
}

QUrl LocalFileUrl(const std::string& fullPath)
{
    const QByteArray path = QByteArray::fromStdString(fullPath).toPercentEncoding("/");
    return QUrl::fromEncoded("file://" + path, QUrl::StrictMode);
}

} // namespace platform
