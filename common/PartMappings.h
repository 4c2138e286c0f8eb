#pragma once
#include <cstdint>
#include <vector>

// Every part of a chain of regular files mapped into memory, private and
// writable, so a reader uses the bytes where they lie instead of copying
// them; changes stay in this process and never reach the files.
class PartMappings {
public:
    PartMappings() = default;
    ~PartMappings();
    PartMappings(const PartMappings&) = delete;
    PartMappings& operator=(const PartMappings&) = delete;

    // Maps part number `part` from the descriptor it was measured through, so
    // the bytes are those of the file measured even if its name now names
    // another; an empty part maps nothing. False, with no part mapped any
    // more, when it cannot be mapped.
    bool MapPart(int fd, std::uint64_t size, std::size_t part);
    void Unmap();
    bool IsMapped() const { return !m_parts.empty(); }

    struct Span {
        std::uint8_t* data = nullptr;
        std::uint64_t start = 0; // stream position of data[0]
        std::uint64_t size = 0;
        std::size_t part = 0;
    };
    // The part that holds the stream bytes [from, end) whole, end past the
    // stream's end counting as its end; false when the bytes span parts.
    bool SpanHolding(std::uint64_t from, std::uint64_t end, Span* span) const;
    // Copies up to `count` bytes from stream position `from` on, across
    // parts; the count copied is short only at the stream's end.
    std::uint32_t Copy(std::uint64_t from, std::uint8_t* destination, std::uint32_t count) const;

private:
    std::vector<Span> m_parts; // non-empty parts only, in stream order
    std::uint64_t m_nTotal = 0;
};
