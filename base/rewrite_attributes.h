// The attributes a file is created anew with when it replaces an existing one of the same name.
#pragma once
#include <cstdint>

// Windows' file attribute bits, as data, so the rule is tested where Windows is not.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1, kAttributeHidden = 0x2,
                               kAttributeSystem = 0x4, kAttributeArchive = 0x20,
                               kAttributeNormal = 0x80, kNoAttributes = 0xFFFFFFFF;

// Windows refuses CREATE_ALWAYS on an existing hidden or system file unless the call asks for
// those attributes again, so they are asked for (with archive); a new file gets the normal ones.
// Read-only is not asked for: such a file stays a refusal.
std::uint32_t RewriteAttributes(std::uint32_t existing);
