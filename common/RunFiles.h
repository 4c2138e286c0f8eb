#pragma once
#include "CBaseFile.h"
#include "CMultiBaseFile.h"
#include "FileTexts.h"

#include <string>

// File opening shared by the data utilities' runs. Each shows its message and
// answers false when the run must end.

// The system's reason for a failure, in the C locale whatever the user's.
std::string FailureReason(HRESULT failure);

// "Cannot open file %s." followed by the system's reason, when one is known.
std::string CannotOpenFileText(const std::string& name, HRESULT failure);

// Opens an input for reading; the cannot-open text on failure.
bool OpenRunInput(CBaseFile& file, const std::string& name);

// The cannot-open text for an input chain whose Open answered `failure`,
// naming the later part that failed, else the input as `name` gives it.
void ShowCannotOpenInput(const CMultiBaseFile& input, const std::string& name, HRESULT failure);

// "Cannot read file %s: %s." with the name and the system's reason, for a
// file that opened and then failed while it was read.
std::string CannotReadFileText(const std::string& name, HRESULT failure);
void ShowCannotReadFile(const std::string& name, HRESULT failure);

// What ended the reading of an input chain early: the cannot-open text for
// a later part that would not open, else the cannot-read text naming the part
// that failed (the input as `name` gives it for the first part).
std::string InputReadFailureText(const CMultiBaseFile& input, const std::string& name);

// False, after showing InputReadFailureText, when a read of the input failed
// before its end: a partial result never passes for a whole.
bool InputReadToItsEnd(const CMultiBaseFile& input, const std::string& name);

// True when `name` is the same file (device and inode) as a part of the
// opened chain: creating it would destroy bytes the run reads.
bool IsPartOfChain(const CMultiBaseFile& chain, const std::string& name);

// Asks "File %s already exists.\r\nDo you want to replace it?" when the output
// is an existing file (tested with stat), then creates it with overwrite;
// "Cannot create file %s." on failure, and at once, without the question, for
// a folder, a block device or a socket. A FIFO or character device is written
// as it is, without the question (a FIFO waits for its reader), and so is an
// inherited descriptor named as /dev/stdout or /dev/fd/N, whatever it leads
// to. False also when the user said No; `writtenBefore` tells a run nobody
// can answer what it wrote before the question.
bool CreateRunOutput(CBaseFile& file, const std::string& name, const std::string& writtenBefore = {});

// The shared texts, exactly as shown.
using platform::kMsgCannotOpenFile;
extern const char* const kMsgCannotCreateFile;    // 2001
extern const char* const kMsgCannotReadFile;
extern const char* const kMsgFileExistsReplace;   // 2100
