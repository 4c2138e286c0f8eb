#pragma once
#include <cstdint>
#include <memory>

// A block of bytes for a read stream, left uninitialised: every byte is
// written by a read before it is used, so nothing is zero-filled only to be
// overwritten, and pages the reads never reach are never touched.
class CReadBuffer {
public:
    std::uint8_t* Data() const { return m_bytes.get(); }
    std::uint32_t Size() const { return m_nSize; }

    // Replaces the block by one of `size` bytes that starts with the `count`
    // bytes from `from` on. Throws std::bad_alloc, leaving the block as it was.
    void Resize(std::uint32_t size, std::uint32_t from = 0, std::uint32_t count = 0);
    void Release();
    void Swap(CReadBuffer& other) noexcept;

private:
    std::unique_ptr<std::uint8_t[]> m_bytes;
    std::uint32_t m_nSize = 0;
};
