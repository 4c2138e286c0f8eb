#include "Messages.h"

#include "Format.h"

#include <cstdio>

namespace platform {

const char* const kMsgAnsweredNo = "Answered No (nobody can be asked here): %s was not replaced.";

namespace {
HeadlessMessageBackend g_headless;
MessageBackend* g_backend = nullptr;
bool (*g_drop)() = nullptr;
int g_shown = 0;
constexpr unsigned kReplaceQuestion = MB_YESNO | MB_ICONEXCLAMATION;

std::string& ProgramNameStorage()
{
    static std::string name;
    return name;
}
} // namespace

int DefaultAnswer(unsigned type)
{
    switch (type & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDNO;
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

std::string NormaliseLineBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if ((c == '\r' || c == '\n') && i + 1 < text.size()
            && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c) {
            ++i;
            result += '\n';
        } else if (c == '\r') {
            result += '\n';
        } else {
            result += c;
        }
    }
    return result;
}

// The backend that shows the next message, counted; nullptr when it is dropped.
MessageBackend* BackendToShow()
{
    if (g_drop && g_drop())
        return nullptr;
    ++g_shown;
    return g_backend ? g_backend : &g_headless;
}

int ShowMessage(const std::string& text, unsigned type)
{
    MessageBackend* backend = BackendToShow();
    return backend ? backend->Show(text, type) : DefaultAnswer(type);
}

int AskToReplace(const std::string& question, const std::string& name, const std::string& writtenBefore)
{
    MessageBackend* backend = BackendToShow();
    return backend ? backend->AskToReplace(question, name, writtenBefore) : DefaultAnswer(kReplaceQuestion);
}

int MessageBackend::AskToReplace(const std::string& question, const std::string&, const std::string&)
{
    return Show(question, kReplaceQuestion);
}

void SetMessageBackend(MessageBackend* backend)
{
    g_backend = backend;
}

MessageFilter::MessageFilter(bool (*drop)())
    : m_previous(g_drop)
{
    g_drop = drop;
}

MessageFilter::~MessageFilter()
{
    g_drop = m_previous;
}

int MessagesShown()
{
    return g_shown;
}

void ResetMessagesShown()
{
    g_shown = 0;
}

void SetProgramName(const std::string& name)
{
    ProgramNameStorage() = name;
}

const std::string& ProgramName()
{
    return ProgramNameStorage();
}

int HeadlessMessageBackend::Show(const std::string& text, unsigned type)
{
    std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), NormaliseLineBreaks(text).c_str());
    std::fflush(stderr);
    return DefaultAnswer(type);
}

int HeadlessMessageBackend::AskToReplace(const std::string& question, const std::string& name,
                                         const std::string& writtenBefore)
{
    const int answer = Show(question, kReplaceQuestion);
    Show(Format(kMsgAnsweredNo, name.c_str()), MB_OK);
    if (!writtenBefore.empty())
        Show(writtenBefore, MB_OK);
    return answer;
}

RecordingMessageBackend::RecordingMessageBackend()
    : m_previous(g_backend)
{
    SetMessageBackend(this);
}

RecordingMessageBackend::~RecordingMessageBackend()
{
    SetMessageBackend(m_previous);
}

int RecordingMessageBackend::Show(const std::string& text, unsigned type)
{
    m_texts.push_back(text);
    m_types.push_back(type);
    if (m_answers.empty())
        return DefaultAnswer(type);
    int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

} // namespace platform
