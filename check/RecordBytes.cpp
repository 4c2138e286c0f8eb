#include "RecordBytes.h"

#include "Format.h"
#include "resource.h"

using namespace vostic;

namespace record_bytes {

std::string TimeText(const std::uint8_t* data, int size, int offset)
{
    auto at = [&](int index) { return static_cast<int>(U8(data, size, offset + index)); };
    return platform::Format(IDS_RECORD_TIME, at(0), at(1), at(2), at(3), at(4), at(5), at(6));
}

} // namespace record_bytes
