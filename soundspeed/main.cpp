#include "CUtilityApp.h"
#include "CZarnelDlg.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return std::puts("Usage: zarnel (a calculator window for the speed of sound in sea water; no switches)") < 0
            || std::fflush(stdout) != 0;
    CUtilityApp app(argc, argv, "Zarnel");
    CZarnelDlg dialog;
    return app.RunMainDialog(dialog);
}
