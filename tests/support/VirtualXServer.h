#pragma once
#include "RunningProgram.h"

#include <memory>
#include <string>

// An X server of the test's own (Xvfb) on a display number it chose itself,
// ended with the object. Not started when Xvfb is not installed.
class VirtualXServer {
public:
    VirtualXServer();
    bool Started() const { return !m_display.empty(); }
    // ":N", as DISPLAY names it.
    const std::string& Display() const { return m_display; }
    // The server ends under its clients, as a logout that ends it first does.
    void End();

private:
    std::unique_ptr<RunningProgram> m_server;
    std::string m_display;
};
