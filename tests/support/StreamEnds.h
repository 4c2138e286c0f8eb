#pragma once
#include <chrono>
#include <string>

// The test's own ends of pipes and FIFOs that a program reads or writes.

// Reads until the writer closes (for a FIFO: until a writer has come and
// gone) or the deadline passes; false on the deadline.
bool ReadUntilClosed(int fd, std::string& text, std::chrono::steady_clock::time_point deadline);

// Opens the FIFO for writing once a reader has it open, so the writer comes
// after the reader; -1 when no reader came within the timeout.
int OpenWriterOnceRead(const std::string& fifo, int timeoutSeconds = 60);

// Writes every byte; false when the reader went away.
bool WriteAll(int fd, const std::string& bytes);
