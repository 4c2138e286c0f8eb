#pragma once
#include <QString>
#include <QUrl>

#include <string>

// File names are bytes; windows show text. These carry a name between the two
// without losing a byte: valid UTF-8 becomes its characters, every byte of an
// invalid sequence becomes the lone surrogate U+DC00 + byte, and back.
namespace platform {

QString NameToText(const std::string& name);
std::string NameFromText(const QString& text);

// The bytes of a name that a file dialog shows as `text`. The dialog shows
// undecodable bytes as U+FFFD, so each missing component is looked up among
// the entries of its directory that show as that text (when just one does).
std::string NameFromDialogText(const QString& text);

// A file URL for the name, its bytes percent-encoded as they are.
QUrl LocalFileUrl(const std::string& fullPath);

} // namespace platform
