// A script file of any bytes loads into lines the interpreter can run: each
// at most the longest line with one CR LF line end (the last may have none),
// no comment lines, and a repeat line only at the end.
//
// Input: the script file.
#include "CParlimApp.h"
#include "CParlimDoc.h"
#include "CScript.h"
#include "FuzzInput.h"
#include "FuzzWorkspace.h"

#include <iterator>

namespace {

void RequireRunnable(const std::list<std::string>& lines)
{
    for (auto line = lines.begin(); line != lines.end(); ++line) {
        const bool last = std::next(line) == lines.end();
        fuzz::Require(line->size() <= CScript::kMaxLineLength, "a line is at most the longest line");
        const std::size_t body = line->ends_with("\r\n") ? line->size() - 2 : line->size();
        fuzz::Require(last || body < line->size(), "every line but the last ends with CR LF");
        fuzz::Require(line->find_first_of(std::string("\r\n\0", 3)) >= body, "a line holds no line end or NUL");
        fuzz::Require(!line->starts_with(";"), "comment lines are dropped");
        const bool repeat = line->starts_with("$R") || line->starts_with("$r");
        fuzz::Require(!repeat || last, "a repeat line ends the script");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzWorkspace& workspace = FuzzWorkspace::ForNextInput("parlim");
    const std::string path = workspace.Write("script.qvs", fuzz::AsText(data, size));
    CParlimApp application;
    CParlimDoc document(application);
    CScript script(&document);
    const HRESULT loaded = script.Load(path);
    fuzz::Require(loaded == S_OK || !script.IsValid(), "a readable script loads or is too long");
    if (loaded == S_OK) {
        RequireRunnable(document.GetScriptLines());
        for (const std::string& line : document.GetScriptLines())
            script.ParseCommand(line);
    }
    return 0;
}
