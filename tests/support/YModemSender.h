#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The sending side of a batch block transfer as an instrument's recorder
// plays it on a file descriptor: waits for 'C', sends each file's header
// block and data blocks (1024 bytes each), sends a block again on NAK, and
// ends with an empty header. Two CANs from the receiver stop it.
class YModemSender {
public:
    struct File {
        std::string name;
        std::string content;
    };
    enum class Outcome { Sent, Cancelled, TimedOut };

    explicit YModemSender(std::vector<File> files);

    // Runs the whole batch; returns how it ended.
    Outcome Run(int fd);
    // Data blocks (counted over the batch) whose first sending carries a
    // damaged checksum.
    std::vector<std::size_t> m_damagedBlocks;

    // Every byte the receiver sent.
    const std::string& Received() const { return m_received; }
    int Naks() const { return m_naks; }

    static std::uint16_t Crc(const std::string& data);
    static std::string Block(std::uint8_t number, std::string data, bool damaged = false);
    // A block around data already filled to 128 or 1024 bytes, with that checksum.
    static std::string Frame(std::uint8_t number, const std::string& data, std::uint16_t crc);

private:
    enum class Reply { Ack, Nak, Request, Cancel, None };

    Reply NextReply();
    bool Write(const std::string& bytes);
    Outcome SendFile(const File& file);
    // Sends the block until it is acknowledged.
    Outcome SendAcknowledged(const std::string& block, const std::string& damaged);
    Outcome AwaitRequest();

    std::vector<File> m_files;
    int m_fd = -1;
    std::string m_received;
    std::size_t m_blocksSent = 0;
    int m_naks = 0;
    int m_cans = 0;
};
