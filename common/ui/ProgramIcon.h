#pragma once
#include <QIcon>

// The suite's program icon, drawn at first use.
QIcon ProgramIcon();
