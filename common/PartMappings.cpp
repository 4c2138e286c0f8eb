#include "PartMappings.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Maps `size` bytes of the regular file open as `fd`; null when it cannot, or
// when the file is now shorter than measured (reading past its end would
// fault).
std::uint8_t* MapFile(int fd, std::uint64_t size)
{
    struct stat st {};
    void* data = MAP_FAILED;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) >= size)
        data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, fd, 0);
    if (data == MAP_FAILED)
        return nullptr;
    ::madvise(data, size, MADV_SEQUENTIAL);
    return static_cast<std::uint8_t*>(data);
}

} // namespace

PartMappings::~PartMappings()
{
    Unmap();
}

void PartMappings::Unmap()
{
    for (const Span& part : m_parts)
        ::munmap(part.data, part.size);
    m_parts.clear();
    m_nTotal = 0;
}

bool PartMappings::MapPart(int fd, std::uint64_t size, std::size_t part)
{
    if (size == 0)
        return true;
    std::uint8_t* data = MapFile(fd, size);
    if (!data) {
        Unmap();
        return false;
    }
    m_parts.push_back({data, m_nTotal, size, part});
    m_nTotal += size;
    return true;
}

bool PartMappings::SpanHolding(std::uint64_t from, std::uint64_t end, Span* span) const
{
    end = std::min(end, m_nTotal);
    // The first part that ends past `from`; the last one for the stream's end.
    auto part = std::upper_bound(m_parts.begin(), m_parts.end(), from,
                                 [](std::uint64_t position, const Span& p) { return position < p.start + p.size; });
    if (part == m_parts.end())
        part = m_parts.end() - 1;
    if (from < part->start || end > part->start + part->size)
        return false;
    *span = *part;
    return true;
}

std::uint32_t PartMappings::Copy(std::uint64_t from, std::uint8_t* destination, std::uint32_t count) const
{
    std::uint32_t copied = 0;
    for (const Span& part : m_parts) {
        const std::uint64_t position = from + copied;
        if (copied == count)
            break;
        if (position >= part.start + part.size)
            continue;
        const auto chunk = static_cast<std::uint32_t>(std::min<std::uint64_t>(count - copied, part.start + part.size - position));
        std::memcpy(destination + copied, part.data + (position - part.start), chunk);
        copied += chunk;
    }
    return copied;
}
