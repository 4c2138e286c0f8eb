#include "YModemSender.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::string Header(const std::string& name, const std::string& size)
{
    return YModemSender::Block(0, name + std::string(1, '\0') + size);
}

// Sender streams that reach each way through the receiver: a whole batch,
// a damaged and a repeated block, a repeated header and end of file, a block
// out of sequence, names it refuses, and streams cut short.
std::vector<std::string> Seeds()
{
    const std::string data(1500, 'd');
    const std::string whole = Header("ONE.000", "1500") + YModemSender::Block(1, data.substr(0, 1024)) +
                              YModemSender::Block(2, data.substr(1024)) + "\x04" + Header("", "");
    return {
        whole,
        Header("BAD.000", "10") + YModemSender::Block(1, "0123456789", true) + YModemSender::Block(1, "0123456789") +
            YModemSender::Block(1, "0123456789") + "\x04" + "\x04" + Header("", ""),
        Header("TWICE.000", "3") + Header("TWICE.000", "3") + YModemSender::Block(1, "abc") + "\x04" + Header("", ""),
        Header("SKIP.000", "3000") + YModemSender::Block(3, "x"),
        Header("..", "1") + Header("a/b/../", "1") + Header(std::string(300, 'n'), "1"),
        Header("HUGE.000", "99999999999999999999999") + YModemSender::Block(1, "y") + "\x04",
        whole.substr(0, whole.size() / 2),
        std::string("\x01\x00\xff", 3),
        "",
    };
}

TEST(YModemSeedReplay, EverySeedRunsThroughTheFuzzEntry)
{
    for (const std::string& seed : Seeds())
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(seed.data()), seed.size()), 0);
}

} // namespace
