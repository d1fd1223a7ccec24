#pragma once

namespace platform {

// Whether the system's narrow encoding can carry the character `ch` there and back.
bool SystemEncodingHolds(char32_t ch);

} // namespace platform
