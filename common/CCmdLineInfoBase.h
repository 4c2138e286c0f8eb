#pragma once
#include <string>
#include <vector>

// The command line of a data utility: switches "/key:value" or "-key:value".
// Keys are compared in table order, case-sensitively, with the switch's
// leading characters; the first match takes the rest as its value (a full
// path for file keys). A repeated key keeps its last value. A switch that
// matches no key is kept for the caller to refuse; other arguments are
// ignored. "--help" and "-h" ask for the usage.
class CCmdLineInfoBase {
public:
    // `purpose`: what the program does, a sentence for the usage.
    explicit CCmdLineInfoBase(const char* purpose);
    virtual ~CCmdLineInfoBase() = default;
    CCmdLineInfoBase(const CCmdLineInfoBase&) = delete;
    CCmdLineInfoBase& operator=(const CCmdLineInfoBase&) = delete;

    // argv[0] is the program and is skipped.
    void ParseCommandLine(int argc, char** argv);
    void ParseCommandLine(const std::vector<std::string>& arguments);

    // Every file key has a value: the run can go unattended.
    bool NamesEveryFile() const;
    bool HelpRequested() const { return m_bHelpRequested; }
    // The switches that matched no key, as typed.
    const std::vector<std::string>& UnknownSwitches() const { return m_unknownSwitches; }

    // What --help prints: the command and its purpose, a line per switch,
    // how a run starts, and where the help page `helpPage` lies.
    std::string Usage(const std::string& helpPage) const;
    // Without a display, a command line that does not name every file.
    std::string MissingFilesText() const;
    // A switch that matches no key: it is named, and so are the keys.
    std::string UnknownSwitchesText() const;

protected:
    // Each utility binds its keys (each ending in ':') in table order; the
    // usage shows `argument` after the key and says what it is by `meaning`.
    void AddKey(const char* key, std::string& value, bool isFileKey, const char* argument, const char* meaning);

private:
    struct Key {
        std::string text;
        std::string* value;
        bool isFileKey;
        const char* argument;
        const char* meaning;
    };
    // False when `param` (its "/" or "-" removed) matches no key.
    bool TakeKey(const std::string& param);
    // "-in:FILE -out:FILE [-size:MB]": file keys are needed, the others not.
    std::string Synopsis() const;
    // The program as typed in a shell: its name in lower case.
    static std::string Command();

    const char* m_purpose;
    std::vector<Key> m_keys;
    std::vector<std::string> m_unknownSwitches;
    bool m_bHelpRequested = false;
};
