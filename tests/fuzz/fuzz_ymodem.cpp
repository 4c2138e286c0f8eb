// The block-transfer receiver fed a byte buffer as the sender's whole
// stream. Built with -fsanitize=fuzzer against parlim_lib; the seed replay
// test links the same entry into an ordinary test.
#include "CYModem.h"
#include "IYModemPort.h"
#include "Messages.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// The sender's side as a fixed stream: reads take the next bytes, and once
// they are used up the line is gone, so no read waits out its time-out.
// What the receiver sends is dropped.
class ReplayedLine : public IYModemPort {
public:
    ReplayedLine(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    HRESULT Read(void* destination, std::uint32_t n, std::uint32_t* count) override
    {
        if (m_at >= m_size)
            return E_FAIL;
        const std::size_t take = std::min<std::size_t>(n, m_size - m_at);
        std::memcpy(destination, m_data + m_at, take);
        m_at += take;
        if (count)
            *count = static_cast<std::uint32_t>(take);
        return take == n ? 0 : 1;
    }
    HRESULT Write(const void*, std::uint32_t) override { return Alive() ? 0 : E_FAIL; }
    // Bytes count as arriving when they are read: there is never a backlog.
    void FlushInput() override {}
    bool Purge(unsigned) override { return Alive(); }
    HRESULT SendBreak(std::uint32_t) override { return 0; }
    int Pump() override { return 1; }
    int Wait(int, int) override { return 1; }

private:
    bool Alive() const { return m_at < m_size; }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

// One download directory for the whole run, emptied after every input.
class Downloads {
public:
    Downloads()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz_ymodem-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        m_path = pattern;
    }
    ~Downloads()
    {
        std::error_code error;
        std::filesystem::remove_all(m_path, error);
    }
    const std::string& Path() const { return m_path; }
    void Empty()
    {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(m_path, error))
            std::filesystem::remove_all(entry.path(), error);
    }

private:
    std::string m_path;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Downloads downloads;
    {
        // The receiver's messages are recorded, never shown.
        platform::RecordingMessageBackend messages;
        ReplayedLine line(data, size);
        CYModem modem(&line, downloads.Path());
        modem.Receive();
    }
    downloads.Empty();
    return 0;
}
