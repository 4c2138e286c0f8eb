#pragma once
#include "CCrc16.h"
#include "YModemSender.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

// A block-transfer sender played by a script on the master end of a
// pseudo-terminal, on a thread of its own, so damaged and odd transfers can
// be produced on purpose.
class YModemScript {
public:
    using Milliseconds = std::chrono::milliseconds;

    explicit YModemScript(int masterFd) : m_master(masterFd) {}
    ~YModemScript()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    void Start(std::function<void(YModemScript&)> script)
    {
        m_thread = std::thread([this, script] { script(*this); });
    }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

    // The next byte from the receiver, or -1 when none came in time.
    int NextByte(Milliseconds timeout = Milliseconds(15000))
    {
        pollfd fd{m_master, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0)
            return -1;
        std::uint8_t byte = 0;
        if (::read(m_master, &byte, 1) != 1)
            return -1;
        std::lock_guard<std::mutex> guard(m_lock);
        m_received += static_cast<char>(byte);
        return byte;
    }
    // Notes a failure when the next byte is not the one expected.
    bool Expect(std::uint8_t byte, Milliseconds timeout = Milliseconds(15000))
    {
        int got = NextByte(timeout);
        if (got != byte)
            m_bFailed = true;
        return got == byte;
    }
    void Write(const std::string& bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t put = ::write(m_master, bytes.data() + done, bytes.size() - done);
            if (put <= 0)
                return;
            done += static_cast<std::size_t>(put);
        }
    }

    static std::string Block(std::uint8_t number, std::string data, bool big, bool damaged = false)
    {
        const std::size_t size = big ? 1024 : 128;
        data.resize(size, '\x1A');
        std::uint16_t crc = CCrc16::Compute(reinterpret_cast<const std::uint8_t*>(data.data()), size);
        if (damaged)
            crc ^= 0x0101;
        return YModemSender::Frame(number, data, crc);
    }
    static std::string Header(const std::string& name, const std::string& sizeText)
    {
        return Block(0, name + std::string(1, '\0') + sizeText, false);
    }

    // The usual exchange for one file, from the header request to the ACK
    // of its EOT.
    void SendFile(const std::string& name, const std::string& content, bool big)
    {
        OpenFile(name, std::to_string(content.size()));
        const std::size_t size = big ? 1024 : 128;
        std::uint8_t number = 1;
        for (std::size_t at = 0; at < content.size(); at += size, ++number)
            SendAcknowledged(Block(number, content.substr(at, size), big));
        CloseFile();
    }
    // From the header request to the request for the first data block.
    void OpenFile(const std::string& name, const std::string& sizeText)
    {
        Expect('C');
        Write(Header(name, sizeText));
        Expect(0x06);
        Expect('C');
    }
    void SendAcknowledged(const std::string& block)
    {
        Write(block);
        Expect(0x06);
    }
    // The EOT and its ACK.
    void CloseFile() { SendAcknowledged("\x04"); }
    void EndBatch()
    {
        Expect('C');
        Write(Header("", ""));
        Expect(0x06);
    }
    // Reads until the text has come from the receiver.
    bool ExpectText(const std::string& text, Milliseconds timeout)
    {
        while (Received().find(text) == std::string::npos) {
            if (NextByte(timeout) < 0) {
                m_bFailed = true;
                return false;
            }
        }
        return true;
    }
    // Reads what the receiver sends until it has been quiet for a while.
    void DrainFor(Milliseconds quiet)
    {
        while (NextByte(quiet) >= 0) {
        }
    }

    std::string Received() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_received;
    }
    bool Failed() const { return m_bFailed; }

private:
    int m_master;
    std::thread m_thread;
    mutable std::mutex m_lock;
    std::string m_received;
    std::atomic<bool> m_bFailed{false};
};
