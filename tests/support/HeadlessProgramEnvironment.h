#pragma once
#include <QProcessEnvironment>

#include <string>

// The environment of a built program run by a test: no display, so the
// program picks its headless platform itself, and settings under configHome.
QProcessEnvironment HeadlessProgramEnvironment(const std::string& configHome);
