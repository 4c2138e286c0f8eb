#pragma once
#include "HResult.h"
#include "SerialLine.h"
#include "WakeEvent.h"

#include <QPointer>
#include <QSocketNotifier>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class IReceivedBatchSink;

// Queue flags of Purge, with their classic values.
enum : unsigned { PURGE_TXABORT = 0x1, PURGE_RXABORT = 0x2, PURGE_TXCLEAR = 0x4, PURGE_RXCLEAR = 0x8 };

// The serial line of one connection. While open, a worker thread owned by
// the object drains received bytes into a 64 KiB ring and hands each batch
// to the owner window (queued to the user-interface thread, in order), and
// sends the queued writes in order. A device that goes away is closed on the
// user-interface thread as soon as the worker notices. Every public
// operation belongs to the user-interface thread.
class CSerialPort {
public:
    static constexpr std::size_t kRingSize = 65536;
    static constexpr std::size_t kBatchSize = 32000;

    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Stores the parameters; applies nothing. Parity 'E', 'O', 'M', 'S'
    // (anything else: none); stop bits 2 gives two, anything else one. The
    // queue sizes are taken and not used: the ring and the write queue have
    // sizes of their own.
    bool SetParams(IReceivedBatchSink* owner, std::uint8_t comPort, std::uint32_t baud, char parity,
                   std::uint8_t stopBits, std::uint8_t byteSize, std::uint32_t inQueue,
                   std::uint32_t outQueue);

    // Opens the device of the COM number (PortCatalog), applies the line
    // settings and starts the worker. S_OK, the system error, or E_FAIL.
    HRESULT Open();
    // Sends what was queued (for a bounded time), stops and joins the
    // worker, then releases the device and the buffers.
    void Close();
    // False after Close, and once the device has gone away.
    bool IsOpen() const { return m_bOpen.load(); }

    // True while a recovery or an instrument detection holds the line
    // (CLineHold): writes, breaks, rate changes and purges from anyone else
    // are refused.
    bool IsHeld() const { return m_nHolds > 0; }
    // Called when the last hold has gone, so what waited for the line can go on.
    void SetLineFreedHandler(std::function<void()> handler) { m_lineFreed = std::move(handler); }

    // 0: n bytes copied; 1: fewer (maybe none); E_FAIL: not open or n is 0.
    HRESULT Read(void* destination, std::uint32_t n, std::uint32_t* count = nullptr);
    // Waits for n bytes while pumping messages. 0: all arrived; E_FAIL:
    // timeout (0 seconds always times out), closing, or not open. The count
    // always tells how many bytes were stored.
    HRESULT ReadTimed(void* destination, std::uint32_t n, std::uint16_t seconds,
                      std::uint32_t* count = nullptr);
    // Queues a copy behind earlier writes. 0, or E_FAIL when not open or held.
    HRESULT Write(const void* bytes, std::uint32_t n);

    // Discards the unread ring bytes (not what the device still holds).
    void FlushInput();
    // PURGE_* flags: RX discards the device's input queue, TX the unsent
    // writes and the device's output queue.
    bool Purge(unsigned flags);
    // A line break of that length; blocks the calling thread. 0 or the error.
    HRESULT SendBreak(std::uint32_t milliseconds);

    // Closed: stores the values for the next Open. Open: applies them and
    // keeps what the line then has; false, with nothing changed, when the
    // line refuses them.
    bool SetComm(std::uint32_t baud, char parity, std::uint8_t stopBits, std::uint8_t byteSize);
    void GetDCB(platform::LineSettings& destination) const { destination = m_dcb; }
    // The four values as SetParams and SetComm code them.
    static platform::LineSettings LineSettingsOf(std::uint32_t baud, char parity, std::uint8_t stopBits,
                                                 std::uint8_t byteSize);
    char GetParityChar() const;

    std::uint8_t ComPort() const { return m_nComPort; }

    // Hand received batches to the owner window; the ring is filled either way.
    std::atomic<bool> m_bDeliver{true};

private:
    friend class CLineHold;

    // Worker side.
    void CommThread();
    bool IsThrottled();
    bool Drain();
    void PassOn(std::vector<char> batch);
    bool SendQueuedWrites(bool& waitWritable);
    // The writes queued before a close still go out, unless the line stays blocked.
    void SendLastWrites();
    bool TakeNextWrite();
    void StoreInRing(const char* bytes, std::size_t n);

    // User-interface side.
    void OnWorkerWake();
    void DeliverPending();
    void ReleaseLine();
    bool MayDriveLine() const { return m_nHolds == 0 || m_bHolderActs; }

    // The sink is a QObject (the terminal window) that may be deleted first.
    IReceivedBatchSink* m_pOwner = nullptr;
    QPointer<QObject> m_ownerLifetime;
    std::uint8_t m_nComPort = 0;
    platform::LineSettings m_dcb;

    platform::SerialLine m_line;
    std::unique_ptr<platform::WakeEvent> m_stopEvent;
    std::unique_ptr<platform::WakeEvent> m_writeEvent;
    std::unique_ptr<platform::WakeEvent> m_deliveredEvent;
    std::thread m_thread;
    std::atomic<bool> m_bOpen{false};
    // Set by the worker when the device went away; the user-interface thread closes it.
    std::atomic<bool> m_bLineLost{false};

    // Holds of the line (CLineHold), and whether the holder's admitted step runs.
    int m_nHolds = 0;
    bool m_bHolderActs = false;
    std::function<void()> m_lineFreed;

    // Guards the ring and the write queue; never held across a device call
    // that may wait.
    std::mutex m_csPort;
    std::vector<char> m_pRing;
    std::size_t m_nRingRead = 0;
    std::size_t m_nRingCount = 0;
    std::deque<std::vector<char>> m_writeQueue;
    // Bumped by a purge of the output so the worker drops what it holds.
    std::uint64_t m_nWriteGeneration = 0;

    // The write the worker is sending; the worker's alone.
    std::vector<char> m_currentWrite;
    std::size_t m_nCurrentOffset = 0;
    std::uint64_t m_nCurrentGeneration = 0;

    // Batches on their way to the user-interface thread.
    std::mutex m_deliveryLock;
    std::deque<std::vector<char>> m_deliveries;
    std::size_t m_nDeliveryBytes = 0;
    bool m_bWakePosted = false;
    // The worker wakes the user-interface thread through an eventfd that a
    // notifier of that thread watches: the batches pass under m_deliveryLock
    // alone, a hand-over that thread checkers can follow.
    platform::WakeEvent m_deliveryWake;
    std::unique_ptr<QSocketNotifier> m_deliveryNotifier;
};
