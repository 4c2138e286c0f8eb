#pragma once
#include <cstddef>

class ILineConnection;
class QWidget;

// The commands of a connection that talk to the instrument: clock, binary
// command, hex bytes, paste.
class CConnectionCommands {
public:
    CConnectionCommands(ILineConnection& line, QWidget* dialogParent);

    void PcTimeToAdcp();
    void SendBinaryCommand();
    void SendBytes();
    void Paste();

private:
    void WritePaced(const char* bytes, std::size_t count);

    ILineConnection& m_line;
    QWidget* m_dialogParent;
};
