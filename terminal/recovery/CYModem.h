#pragma once
#include "CReceivedFile.h"
#include "HResult.h"

#include <cstdint>
#include <string>

class IYModemPort;

// The receiving side of a batch block transfer (CRC-16, 128- and 1024-byte
// blocks) over a line, writing each file into the download directory. A file
// is received under a visible partial name (NAME.part) and takes its own name
// only once it has arrived whole; the bytes of one that did not, or that
// cannot take its name, stay there. On a connection's port it runs on the
// user-interface thread and the line's waits pump messages. The virtual hooks
// let a derived class report to the user.
class CYModem {
public:
    static constexpr std::uint8_t SOH = 0x01;
    static constexpr std::uint8_t STX = 0x02;
    static constexpr std::uint8_t EOT = 0x04;
    static constexpr std::uint8_t ACK = 0x06;
    static constexpr std::uint8_t NAK = 0x15;
    static constexpr std::uint8_t CAN = 0x18;
    static constexpr std::uint8_t CRC_REQUEST = 'C';
    // Longest file name the header may carry.
    static constexpr std::size_t kMaxNameLength = 255;

    CYModem(IYModemPort* port, std::string downloadDir);
    virtual ~CYModem();
    CYModem(const CYModem&) = delete;
    CYModem& operator=(const CYModem&) = delete;

    // Runs the whole batch.
    void Receive();

    // 0: all n bytes came; 1: cancelled or the program is closing; E_FAIL:
    // timed out or the line is gone.
    HRESULT ReadBytes(void* buffer, std::uint32_t n, std::uint16_t seconds);
    HRESULT Send(const void* bytes, std::uint32_t n);
    // Aborts on the wire: 0 when the instrument's prompt came back, 1 when
    // cancelled, otherwise a failure.
    HRESULT Abort();

    // The terminal option: a break is sent as text instead of a line break.
    bool m_bSoftwareBreak = false;

protected:
    struct Packet {
        std::uint8_t header = 0;
        std::uint8_t block = 0;
        std::uint8_t complement = 0;
        // A 128-byte block fills the start of it.
        std::uint8_t data[1024] = {};
        std::uint8_t crcHigh = 0;
        std::uint8_t crcLow = 0;
        std::uint8_t expected = 0;

        // 0: a good block or an EOT; 1: cancelled; E_FAIL otherwise. The
        // header phase counts blocks afresh, and every request in it is a 'C'.
        HRESULT ReceivePacket(CYModem& modem, bool headerPhase);
        const std::uint8_t* Data() const { return data; }
        std::uint32_t DataSize() const { return header == SOH ? 128 : 1024; }
        bool IsIntact() const;
    };

    virtual bool Begin();
    virtual HRESULT OnFileHeader();
    virtual HRESULT WriteData();
    virtual void CloseFile();
    virtual void OnComplete();
    virtual void SendNak();
    virtual bool IsCancelled();

    IYModemPort* m_pPort;
    std::string m_strDownloadDir;
    CReceivedFile m_outFile;
    std::string m_strFileName;
    // -1 when the header names no size: every block is stored whole.
    std::int64_t m_nFileSize = 0;
    std::int64_t m_nFileWritten = 0;
    std::int64_t m_nTotalReceived = 0;
    Packet m_packet;

private:
    enum class Outcome { Complete, Cancelled, Failed };
    enum class TryResult { Good, Cancelled, Failed, LineLost };

    Outcome RunBatch();
    Outcome ReceiveFile();
    HRESULT RequestHeader();
    TryResult ReadBlockBody(Packet& packet);
    void SendByte(std::uint8_t byte);
    void AskAgain(bool headerPhase);
    void TakeRepeat();
    // The hook, or the program closing: either ends the transfer as a cancel.
    bool Cancelled();
    bool IsWhole() const;
    bool TakeFinalName();
    // Ends a file that did not take its own name: its bytes stay under the
    // partial name; a file of which no byte arrived leaves nothing behind.
    void KeepReceivedBytes();
    std::string ShownPath(const std::string& name) const;
    std::string RecoveryFailed() const;
    std::string IncompleteNotice(Outcome outcome) const;
    Outcome Fail(std::string message);
    void Finish(Outcome outcome);
    void SendEndBreak();
    bool TakeHeaderName(const std::uint8_t* area, std::uint32_t size);

    std::string m_strFailure;
    // Why the line ended the transfer; null when that is not the trouble.
    const char* m_pszReason = nullptr;
    std::string m_strLastFile;
    // The name in the download directory that holds the bytes of a file
    // that did not take its own name.
    std::string m_strKeptName;
    // Why those bytes may not be on disk.
    std::string m_strKeepFailure;
    // Why the bytes of such a file are no longer there.
    std::string m_strLostReason;
    bool m_bArrivedWhole = false;
    bool m_bAborted = false;
    bool m_bLineLost = false;
    bool m_bClosing = false;
    // A block has been taken since the last header request, so an intact
    // copy of it may come again when the sender missed the ACK.
    bool m_bHavePrevious = false;
    // That block was a file header: its repeat is answered with ACK and 'C'.
    bool m_bPreviousIsHeader = false;
};
