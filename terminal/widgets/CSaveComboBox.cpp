#include "CSaveComboBox.h"

#include "FileNameText.h"
#include "Settings.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

CSaveComboBox::CSaveComboBox(std::string section, std::string prefix, QWidget* parent)
    : QComboBox(parent), m_strSection(std::move(section)), m_strPrefix(std::move(prefix))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // An inline completer takes a selected offered name for a completion and
    // swallows the Enter that should press OK.
    setCompleter(nullptr);
    // Typing is limited; a path set by the program (browsing) is kept whole.
    const QRegularExpression limit(QString("^.{0,%1}$").arg(kMaxTyped),
                                   QRegularExpression::DotMatchesEverythingOption);
    lineEdit()->setValidator(new QRegularExpressionValidator(limit, this));
    for (const std::string& entry : LoadList())
        addItem(platform::NameToText(entry));
    setCurrentIndex(count() > 0 ? 0 : -1);
}

CSaveComboBox::~CSaveComboBox()
{
    OnDestroy();
}

std::string CSaveComboBox::ValueName(std::size_t index) const
{
    return m_strPrefix + std::to_string(index);
}

int CSaveComboBox::AddToTop(int index, const QString& text)
{
    int found = findText(text, Qt::MatchFixedString);
    if (found >= 0)
        removeItem(found);
    int position = index < 0 || index > count() ? count() : index;
    insertItem(position, text);
    return position;
}

std::vector<std::string> CSaveComboBox::LoadList() const
{
    std::vector<std::string> entries;
    for (std::size_t index = 0;; ++index) {
        std::string entry = platform::GetProfileString(m_strSection, ValueName(index));
        if (entry.empty())
            return entries;
        entries.push_back(std::move(entry));
    }
}

void CSaveComboBox::SaveList(const std::vector<std::string>& entries) const
{
    for (std::size_t index = 0; index < entries.size() && index < kMaxSaved; ++index)
        platform::WriteProfileString(m_strSection, ValueName(index), entries[index]);
}

void CSaveComboBox::OnDestroy()
{
    if (m_bSaved)
        return;
    m_bSaved = true;
    std::vector<std::string> entries;
    for (int index = 0; index < count(); ++index)
        entries.push_back(platform::NameFromText(itemText(index)));
    SaveList(entries);
}
