#pragma once
#include <cstddef>

class CParlimDoc;
class QWidget;

// The commands of a connection that talk to the instrument or act on the
// connection: clock, binary command, hex bytes, paste, properties, options.
class CConnectionCommands {
public:
    explicit CConnectionCommands(CParlimDoc& document);

    void PcTimeToAdcp();
    void SendBinaryCommand();
    void SendBytes();
    void Paste();
    void Properties();
    void Options();

private:
    // The main window, parent of the dialogs.
    QWidget* DialogParent() const;

    void WritePaced(const char* bytes, std::size_t count);

    CParlimDoc& m_doc;
};
