#include "CReadBuffer.h"

#include <cstring>
#include <utility>

void CReadBuffer::Resize(std::uint32_t size, std::uint32_t from, std::uint32_t count)
{
    // new[] without an initialiser leaves the bytes as the system gave them.
    std::unique_ptr<std::uint8_t[]> bytes(new std::uint8_t[size]);
    if (count > 0)
        std::memcpy(bytes.get(), m_bytes.get() + from, count);
    m_bytes = std::move(bytes);
    m_nSize = size;
}

void CReadBuffer::Release()
{
    m_bytes.reset();
    m_nSize = 0;
}

void CReadBuffer::Swap(CReadBuffer& other) noexcept
{
    std::swap(m_bytes, other.m_bytes);
    std::swap(m_nSize, other.m_nSize);
}
