#include "YModemSender.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace {
constexpr int kReplyTimeoutMs = 15000;
constexpr std::size_t kBlockSize = 1024;
constexpr char SOH = 0x01;
constexpr char STX = 0x02;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char CAN = 0x18;
} // namespace

YModemSender::YModemSender(std::vector<File> files) : m_files(std::move(files))
{
}

std::uint16_t YModemSender::Crc(const std::string& data)
{
    // Bitwise, independent of the receiver's table.
    std::uint16_t crc = 0;
    for (char c : data) {
        crc ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

std::string YModemSender::Block(std::uint8_t number, std::string data, bool damaged)
{
    const bool big = data.size() > 128;
    data.resize(big ? kBlockSize : 128, number == 0 ? '\0' : '\x1A');
    std::uint16_t crc = Crc(data);
    if (damaged)
        crc ^= 0x0100;
    return Frame(number, data, crc);
}

std::string YModemSender::Frame(std::uint8_t number, const std::string& data, std::uint16_t crc)
{
    std::string block;
    block += data.size() > 128 ? STX : SOH;
    block += static_cast<char>(number);
    block += static_cast<char>(255 - number);
    block += data;
    block += static_cast<char>(crc >> 8);
    block += static_cast<char>(crc & 0xFF);
    return block;
}

bool YModemSender::Write(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = ::write(m_fd, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd fd{m_fd, POLLOUT, 0};
        if (::poll(&fd, 1, kReplyTimeoutMs) <= 0)
            return false;
    }
    return true;
}

YModemSender::Reply YModemSender::NextReply()
{
    for (;;) {
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, kReplyTimeoutMs) <= 0)
            return Reply::None;
        char byte = 0;
        ssize_t got = ::read(m_fd, &byte, 1);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (got != 1)
            return Reply::None;
        m_received += byte;
        m_cans = byte == CAN ? m_cans + 1 : 0;
        if (m_cans == 2)
            return Reply::Cancel;
        if (byte == ACK)
            return Reply::Ack;
        if (byte == NAK)
            return Reply::Nak;
        if (byte == 'C')
            return Reply::Request;
    }
}

YModemSender::Outcome YModemSender::AwaitRequest()
{
    for (;;) {
        switch (NextReply()) {
        case Reply::Request:
            return Outcome::Sent;
        case Reply::Cancel:
            return Outcome::Cancelled;
        case Reply::None:
            return Outcome::TimedOut;
        default:
            break;
        }
    }
}

YModemSender::Outcome YModemSender::SendAcknowledged(const std::string& block, const std::string& damaged)
{
    std::string next = damaged.empty() ? block : damaged;
    for (;;) {
        if (!Write(next))
            return Outcome::TimedOut;
        next = block;
        Reply reply = NextReply();
        while (reply == Reply::Request)
            reply = NextReply();
        if (reply == Reply::Ack)
            return Outcome::Sent;
        if (reply == Reply::Cancel)
            return Outcome::Cancelled;
        if (reply == Reply::None)
            return Outcome::TimedOut;
        ++m_naks;
    }
}

YModemSender::Outcome YModemSender::SendFile(const File& file)
{
    const std::string header = file.name + std::string(1, '\0') + std::to_string(file.content.size());
    Outcome outcome = SendAcknowledged(Block(0, header), {});
    if (outcome == Outcome::Sent)
        outcome = AwaitRequest();
    std::uint8_t number = 1;
    for (std::size_t at = 0; outcome == Outcome::Sent && at < file.content.size(); at += kBlockSize, ++number) {
        const std::string data = file.content.substr(at, kBlockSize);
        const bool damage = std::find(m_damagedBlocks.begin(), m_damagedBlocks.end(), m_blocksSent) !=
                            m_damagedBlocks.end();
        const std::string block = Block(number, data);
        outcome = SendAcknowledged(block, damage ? Block(number, data, true) : std::string());
        ++m_blocksSent;
    }
    if (outcome == Outcome::Sent)
        outcome = SendAcknowledged(std::string(1, EOT), {});
    return outcome;
}

YModemSender::Outcome YModemSender::Run(int fd)
{
    m_fd = fd;
    for (const File& file : m_files) {
        Outcome outcome = AwaitRequest();
        if (outcome == Outcome::Sent)
            outcome = SendFile(file);
        if (outcome != Outcome::Sent)
            return outcome;
    }
    Outcome outcome = AwaitRequest();
    if (outcome == Outcome::Sent)
        outcome = SendAcknowledged(Block(0, std::string()), {});
    return outcome;
}
