#pragma once
#include <deque>
#include <string>
#include <utility>
#include <vector>

// The one road of every message box of the suite. A run object calls
// ShowMessage; the backend decides whether a window, standard error or a
// test script answers.
namespace platform {

// Button sets and icons keep the classic numeric values so the callers read
// like the message tables they come from.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
};

enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

class MessageBackend {
public:
    virtual ~MessageBackend() = default;
    virtual int Show(const std::string& text, unsigned type) = 0;
    // The Yes/No question whether to replace the file `name`.
    virtual int AskToReplace(const std::string& question, const std::string& name,
                             const std::string& writtenBefore);
};

// The answer an unattended run takes: OK, or No where the question has one.
int DefaultAnswer(unsigned type);

// "\r\n" and "\n\r" are one line break on screen.
std::string NormaliseLineBreaks(const std::string& text);

// Shows the message through the installed backend (headless when none is).
int ShowMessage(const std::string& text, unsigned type = MB_OK | MB_ICONEXCLAMATION);

// Asks `question` whether to replace the file `name` (Yes/No); No leaves it
// as it is. `writtenBefore`, when not empty, tells a run that nobody can
// answer what the run wrote before it asked.
int AskToReplace(const std::string& question, const std::string& name, const std::string& writtenBefore = {});

// Installs a backend; the caller keeps ownership. nullptr restores headless.
void SetMessageBackend(MessageBackend* backend);

// While it lives, ShowMessage drops every message for which `drop` answers
// true: nothing is shown or counted, and the default answer is taken.
class MessageFilter {
public:
    explicit MessageFilter(bool (*drop)());
    ~MessageFilter();
    MessageFilter(const MessageFilter&) = delete;
    MessageFilter& operator=(const MessageFilter&) = delete;

private:
    bool (*m_previous)();
};

// How many messages were shown since the start (the exit status of an
// unattended run is 1 when any was).
int MessagesShown();
void ResetMessagesShown();

// Program name used as caption and as the prefix of headless messages.
void SetProgramName(const std::string& name);
const std::string& ProgramName();

// Writes "<program>: <text>" to standard error and takes the default answer;
// a replace question answered No by that gets lines saying what is true.
class HeadlessMessageBackend : public MessageBackend {
public:
    int Show(const std::string& text, unsigned type) override;
    int AskToReplace(const std::string& question, const std::string& name,
                     const std::string& writtenBefore) override;
};

// The line that follows a replace question the headless backend answered No.
extern const char* const kMsgAnsweredNo;

// Records every message and answers from a script (default answers once the
// script is used up). Installs itself for its lifetime.
class RecordingMessageBackend : public MessageBackend {
public:
    RecordingMessageBackend();
    ~RecordingMessageBackend() override;
    int Show(const std::string& text, unsigned type) override;

    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    const std::vector<std::string>& Texts() const { return m_texts; }
    const std::vector<unsigned>& Types() const { return m_types; }
    void Clear() { m_texts.clear(); m_types.clear(); }

private:
    MessageBackend* m_previous;
    std::vector<std::string> m_texts;
    std::vector<unsigned> m_types;
    std::deque<int> m_answers;
};

} // namespace platform
