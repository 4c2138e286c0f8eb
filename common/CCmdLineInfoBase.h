#pragma once
#include <string>
#include <vector>

// The command line of a data utility: switches "/key:value" or "-key:value".
// Keys are compared in table order, case-sensitively, with the switch's
// leading characters; the first match takes the rest as its value (a full
// path for file keys). A repeated key keeps its last value; anything else is
// ignored.
class CCmdLineInfoBase {
public:
    CCmdLineInfoBase() = default;
    virtual ~CCmdLineInfoBase() = default;
    CCmdLineInfoBase(const CCmdLineInfoBase&) = delete;
    CCmdLineInfoBase& operator=(const CCmdLineInfoBase&) = delete;

    // argv[0] is the program and is skipped.
    void ParseCommandLine(int argc, char** argv);
    void ParseCommandLine(const std::vector<std::string>& arguments);
    // One argument, its "/" or "-" already removed when isFlag is set.
    virtual void ParseParam(const std::string& param, bool isFlag, bool isLast);

protected:
    // Each utility binds its keys (each ending in ':') in table order.
    void AddKey(const char* key, std::string& value, bool isFileKey);

private:
    struct Key {
        std::string text;
        std::string* value;
        bool isFileKey;
    };
    std::vector<Key> m_keys;
};
