#include "Messages.h"

#include <cstdio>

namespace platform {

const char* const kMsgAnsweredNo = "Answered No (nobody can be asked here): nothing was replaced or changed.";

namespace {
HeadlessMessageBackend g_headless;
MessageBackend* g_backend = nullptr;
bool (*g_drop)() = nullptr;
int g_shown = 0;
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

int ShowMessage(const std::string& text, unsigned type)
{
    if (g_drop && g_drop())
        return DefaultAnswer(type);
    ++g_shown;
    MessageBackend* backend = g_backend ? g_backend : &g_headless;
    return backend->Show(text, type);
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
    const int answer = DefaultAnswer(type);
    std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), NormaliseLineBreaks(text).c_str());
    if (answer == IDNO)
        std::fprintf(stderr, "%s: %s\n", ProgramName().c_str(), kMsgAnsweredNo);
    std::fflush(stderr);
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
