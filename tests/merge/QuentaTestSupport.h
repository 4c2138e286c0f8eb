#pragma once
#include <string>

// Linking QuentaTestSupport.cpp gives the test program one offscreen
// QApplication, the program name "Quenta" and a settings store of its own.

// Forgets the four last file names.
void ClearLastFileNames();

std::string StoredSetting(const char* valueName);
