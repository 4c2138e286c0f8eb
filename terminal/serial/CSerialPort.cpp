#include "CSerialPort.h"

#include "IReceivedBatchSink.h"
#include "MessagePump.h"
#include "PortCatalog.h"
#include "PortProbe.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <new>
#include <poll.h>
#include <system_error>
#include <thread>

namespace {
// Batches may wait for the user-interface thread up to this much; beyond it
// the worker leaves further bytes in the device until the window catches up.
constexpr std::size_t kDeliveryLimit = 1024 * 1024;
// The worker looks at its events at least this often even when none fires.
constexpr int kWorkerPollMs = 1000;
constexpr std::size_t kReadChunk = 4096;
// A close waits this long at most for a line that takes no more bytes.
constexpr std::chrono::milliseconds kLastWritesLimit(1000);
constexpr std::chrono::milliseconds kUnsentPollInterval(5);
} // namespace

CSerialPort::CSerialPort()
    : m_deliveryNotifier(std::make_unique<QSocketNotifier>(m_deliveryWake.Fd(), QSocketNotifier::Read))
{
    QObject::connect(m_deliveryNotifier.get(), &QSocketNotifier::activated, [this] { OnWorkerWake(); });
}

CSerialPort::~CSerialPort()
{
    Close();
}

platform::LineSettings CSerialPort::LineSettingsOf(std::uint32_t baud, char parity, std::uint8_t stopBits,
                                                   std::uint8_t byteSize)
{
    platform::LineSettings settings;
    settings.BaudRate = baud;
    switch (parity) {
    case 'E': settings.Parity = platform::EVENPARITY; break;
    case 'O': settings.Parity = platform::ODDPARITY; break;
    case 'M': settings.Parity = platform::MARKPARITY; break;
    case 'S': settings.Parity = platform::SPACEPARITY; break;
    default: settings.Parity = platform::NOPARITY; break;
    }
    settings.StopBits = stopBits == 2 ? platform::TWOSTOPBITS : platform::ONESTOPBIT;
    settings.ByteSize = byteSize;
    return settings;
}

bool CSerialPort::SetParams(IReceivedBatchSink* owner, std::uint8_t comPort, std::uint32_t baud, char parity,
                            std::uint8_t stopBits, std::uint8_t byteSize, std::uint32_t,
                            std::uint32_t)
{
    m_pOwner = owner;
    m_ownerLifetime = dynamic_cast<QObject*>(owner);
    m_nComPort = comPort;
    m_dcb = LineSettingsOf(baud, parity, stopBits, byteSize);
    return true;
}

HRESULT CSerialPort::Open()
{
    Close();
    std::string path = platform::PortCatalog::DevicePath(m_nComPort);
    if (path.empty())
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    // Refused before any open: an open would already raise the modem lines
    // of a port another program is using.
    if (PortProbe::IsHeldElsewhere(path))
        return HRESULT_FROM_WIN32(ERROR_BUSY);
    HRESULT hr = m_line.Open(path);
    if (hr != S_OK)
        return hr;
    m_stopEvent = std::make_unique<platform::WakeEvent>();
    m_writeEvent = std::make_unique<platform::WakeEvent>();
    m_deliveredEvent = std::make_unique<platform::WakeEvent>();
    if (!m_stopEvent->IsValid() || !m_writeEvent->IsValid() || !m_deliveredEvent->IsValid()) {
        ReleaseLine();
        return E_FAIL;
    }
    if (!m_line.Apply(m_dcb)) {
        hr = HResultFromErrno(errno);
        ReleaseLine();
        return hr;
    }
    m_line.Flush(platform::FlushQueues::Both);
    {
        std::lock_guard<std::mutex> guard(m_csPort);
        m_pRing.assign(kRingSize, 0);
        m_nRingRead = 0;
        m_nRingCount = 0;
        m_writeQueue.clear();
    }
    m_currentWrite.clear();
    m_nCurrentOffset = 0;
    m_bOpen = true;
    try {
        m_thread = std::thread(&CSerialPort::CommThread, this);
    } catch (const std::system_error&) {
        Close();
        return E_FAIL;
    }
    return S_OK;
}

void CSerialPort::Close()
{
    if (m_thread.joinable()) {
        m_stopEvent->Set();
        m_thread.join();
    }
    ReleaseLine();
}

void CSerialPort::ReleaseLine()
{
    m_bOpen = false;
    // The worker is joined: a loss it reported is this line's, now closed.
    m_bLineLost = false;
    // Output a device still holds would make closing it wait; what a
    // pseudo-terminal holds is kept by its close, and a flush would lose it.
    if (m_line.IsOpen())
        m_line.Flush(m_line.UnsentBytes() > 0 ? platform::FlushQueues::Both : platform::FlushQueues::Input);
    m_line.Close();
    m_stopEvent.reset();
    m_writeEvent.reset();
    m_deliveredEvent.reset();
    std::lock_guard<std::mutex> guard(m_csPort);
    m_pRing.clear();
    m_pRing.shrink_to_fit();
    m_nRingRead = 0;
    m_nRingCount = 0;
    m_writeQueue.clear();
}

HRESULT CSerialPort::Read(void* destination, std::uint32_t n, std::uint32_t* count)
{
    if (!m_bOpen || n == 0)
        return E_FAIL;
    auto* out = static_cast<char*>(destination);
    std::uint32_t copied = 0;
    {
        std::lock_guard<std::mutex> guard(m_csPort);
        while (copied < n && m_nRingCount > 0) {
            std::size_t run = std::min<std::size_t>({n - copied, m_nRingCount, kRingSize - m_nRingRead});
            std::memcpy(out + copied, m_pRing.data() + m_nRingRead, run);
            copied += static_cast<std::uint32_t>(run);
            m_nRingRead = (m_nRingRead + run) % kRingSize;
            m_nRingCount -= run;
        }
    }
    if (count)
        *count = copied;
    return copied == n ? S_OK : 1;
}

HRESULT CSerialPort::ReadTimed(void* destination, std::uint32_t n, std::uint16_t seconds,
                               std::uint32_t* count)
{
    using Clock = std::chrono::steady_clock;
    if (count)
        *count = 0;
    auto deadline = Clock::now() + std::chrono::seconds(seconds);
    if (n == 0)
        return S_OK;
    auto* out = static_cast<char*>(destination);
    std::uint32_t total = 0;
    for (;;) {
        std::uint32_t got = 0;
        if (Read(out + total, n - total, &got) == E_FAIL)
            return E_FAIL;
        total += got;
        if (count)
            *count = total;
        // Deadline and quit come before completion: a 0-second wait never succeeds.
        if (Clock::now() >= deadline)
            return E_FAIL;
        if (platform::PumpMessages() == platform::PUMP_QUIT)
            return E_FAIL;
        if (total == n)
            return S_OK;
    }
}

HRESULT CSerialPort::Write(const void* bytes, std::uint32_t n)
{
    if (!m_bOpen || !MayDriveLine())
        return E_FAIL;
    if (n == 0)
        return S_OK;
    const auto* in = static_cast<const char*>(bytes);
    try {
        std::vector<char> copy(in, in + n);
        std::lock_guard<std::mutex> guard(m_csPort);
        m_writeQueue.push_back(std::move(copy));
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    m_writeEvent->Set();
    return S_OK;
}

void CSerialPort::FlushInput()
{
    std::lock_guard<std::mutex> guard(m_csPort);
    if (!m_pRing.empty())
        m_nRingRead = (m_nRingRead + m_nRingCount) % kRingSize;
    m_nRingCount = 0;
}

bool CSerialPort::Purge(unsigned flags)
{
    if (!m_bOpen || !MayDriveLine())
        return false;
    bool done = true;
    if (flags & (PURGE_TXABORT | PURGE_TXCLEAR)) {
        {
            std::lock_guard<std::mutex> guard(m_csPort);
            m_writeQueue.clear();
            ++m_nWriteGeneration;
        }
        done = m_line.Flush(platform::FlushQueues::Output) && done;
    }
    if (flags & (PURGE_RXABORT | PURGE_RXCLEAR))
        done = m_line.Flush(platform::FlushQueues::Input) && done;
    return done;
}

HRESULT CSerialPort::SendBreak(std::uint32_t milliseconds)
{
    if (!m_bOpen || !MayDriveLine())
        return E_FAIL;
    if (!m_line.SetBreak(true))
        return HResultFromErrno(errno);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    if (!m_line.SetBreak(false))
        return HResultFromErrno(errno);
    return S_OK;
}

bool CSerialPort::SetComm(std::uint32_t baud, char parity, std::uint8_t stopBits,
                          std::uint8_t byteSize)
{
    const platform::LineSettings wanted = LineSettingsOf(baud, parity, stopBits, byteSize);
    if (!m_bOpen) {
        m_dcb = wanted;
        return true;
    }
    if (!MayDriveLine() || !m_line.Apply(wanted))
        return false;
    // A driver may put another rate in place of one it cannot run: that is a
    // refusal too, and the line goes back to what it had.
    platform::LineSettings applied;
    if (m_line.Query(applied) && applied.BaudRate != wanted.BaudRate) {
        m_line.Apply(m_dcb);
        return false;
    }
    m_dcb = wanted;
    return true;
}

char CSerialPort::GetParityChar() const
{
    static const char letters[] = {'N', 'O', 'E', 'M', 'S'};
    return m_dcb.Parity < sizeof letters ? letters[m_dcb.Parity] : 'N';
}

void CSerialPort::CommThread()
{
    bool waitWritable = false;
    for (;;) {
        m_deliveredEvent->Reset();
        bool throttled = IsThrottled();
        pollfd fds[4] = {{m_stopEvent->Fd(), POLLIN, 0},
                         {m_line.Fd(), static_cast<short>((throttled ? 0 : POLLIN) | (waitWritable ? POLLOUT : 0)), 0},
                         {m_writeEvent->Fd(), POLLIN, 0},
                         {m_deliveredEvent->Fd(), POLLIN, 0}};
        nfds_t count = throttled ? 4 : 3;
        if (::poll(fds, count, kWorkerPollMs) < 0 && errno != EINTR)
            break;
        if (fds[0].revents) {
            SendLastWrites();
            return;
        }
        bool lost = false;
        if (fds[1].revents & POLLIN)
            lost = !Drain();
        else if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL))
            lost = true;
        if (!lost && (fds[2].revents || (fds[1].revents & POLLOUT))) {
            m_writeEvent->Reset();
            lost = !SendQueuedWrites(waitWritable);
        }
        if (lost)
            break;
    }
    // The device is gone: the line reports closed at once, and the
    // user-interface thread is woken to close it.
    m_bOpen = false;
    m_bLineLost = true;
    m_deliveryWake.Set();
}

bool CSerialPort::IsThrottled()
{
    std::lock_guard<std::mutex> guard(m_deliveryLock);
    return m_nDeliveryBytes >= kDeliveryLimit;
}

bool CSerialPort::Drain()
{
    std::vector<char> batch(kBatchSize);
    std::size_t filled = 0;
    bool alive = true;
    while (filled < kBatchSize) {
        ssize_t got = m_line.ReadSome(batch.data() + filled, std::min(kReadChunk, kBatchSize - filled));
        if (got <= 0) {
            alive = got == 0;
            break;
        }
        StoreInRing(batch.data() + filled, static_cast<std::size_t>(got));
        filled += static_cast<std::size_t>(got);
    }
    batch.resize(filled);
    if (filled > 0)
        PassOn(std::move(batch));
    return alive;
}

void CSerialPort::StoreInRing(const char* bytes, std::size_t n)
{
    std::lock_guard<std::mutex> guard(m_csPort);
    for (std::size_t done = 0; done < n;) {
        std::size_t writeAt = (m_nRingRead + m_nRingCount) % kRingSize;
        std::size_t run = std::min(n - done, kRingSize - writeAt);
        std::memcpy(m_pRing.data() + writeAt, bytes + done, run);
        done += run;
        m_nRingCount += run;
        // A full ring gives up its oldest unread bytes.
        if (m_nRingCount > kRingSize) {
            m_nRingRead = (m_nRingRead + m_nRingCount - kRingSize) % kRingSize;
            m_nRingCount = kRingSize;
        }
    }
}

void CSerialPort::PassOn(std::vector<char> batch)
{
    std::lock_guard<std::mutex> guard(m_deliveryLock);
    if (m_bDeliver) {
        m_nDeliveryBytes += batch.size();
        m_deliveries.push_back(std::move(batch));
    }
    // Also without delivery: the wake-up lets a waiting reader look at the ring.
    if (!m_bWakePosted) {
        m_bWakePosted = true;
        m_deliveryWake.Set();
    }
}

void CSerialPort::OnWorkerWake()
{
    m_deliveryWake.Reset();
    DeliverPending();
    // After the last batches: the window shows everything the device sent.
    if (m_bLineLost)
        Close();
}

void CSerialPort::DeliverPending()
{
    // Only the batches waiting now; later ones wait for the next turn of the
    // event loop, so a flood cannot keep paints, keys and timers out.
    std::size_t waiting = 0;
    {
        std::lock_guard<std::mutex> guard(m_deliveryLock);
        waiting = m_deliveries.size();
    }
    for (; waiting > 0; --waiting) {
        std::vector<char> batch;
        {
            std::lock_guard<std::mutex> guard(m_deliveryLock);
            batch = std::move(m_deliveries.front());
            m_deliveries.pop_front();
            m_nDeliveryBytes -= batch.size();
        }
        if (m_deliveredEvent)
            m_deliveredEvent->Set();
        if (m_pOwner && m_ownerLifetime)
            m_pOwner->OnAddText(batch.data(), batch.size());
    }
    std::lock_guard<std::mutex> guard(m_deliveryLock);
    if (m_deliveries.empty())
        m_bWakePosted = false;
    else
        m_deliveryWake.Set();
}

bool CSerialPort::TakeNextWrite()
{
    std::lock_guard<std::mutex> guard(m_csPort);
    if (!m_currentWrite.empty() && m_nCurrentGeneration == m_nWriteGeneration)
        return true;
    m_currentWrite.clear();
    m_nCurrentOffset = 0;
    if (m_writeQueue.empty())
        return false;
    m_currentWrite = std::move(m_writeQueue.front());
    m_writeQueue.pop_front();
    m_nCurrentGeneration = m_nWriteGeneration;
    return true;
}

void CSerialPort::SendLastWrites()
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + kLastWritesLimit;
    bool waitWritable = false;
    while (SendQueuedWrites(waitWritable) && waitWritable) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd line{m_line.Fd(), POLLOUT, 0};
        if (left <= 0 || (::poll(&line, 1, static_cast<int>(left)) < 0 && errno != EINTR))
            return;
    }
    // The driver sends what it took at the line's rate; the close waits for
    // that, within the same limit, rather than discard it.
    while (m_line.UnsentBytes() > 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(kUnsentPollInterval);
}

bool CSerialPort::SendQueuedWrites(bool& waitWritable)
{
    waitWritable = false;
    while (TakeNextWrite()) {
        ssize_t put = m_line.WriteSome(m_currentWrite.data() + m_nCurrentOffset,
                                       m_currentWrite.size() - m_nCurrentOffset);
        if (put < 0)
            return false;
        if (put == 0) {
            waitWritable = true;
            return true;
        }
        m_nCurrentOffset += static_cast<std::size_t>(put);
        if (m_nCurrentOffset == m_currentWrite.size())
            m_currentWrite.clear();
    }
    return true;
}
