#include "sorter/hand_over.h"

#include <cstring>

#include "base/position.h"

std::optional<std::string> HandedOverPath(const void* data, size_t size) {
  STEP(Sorter);
  if (!data || size == 0) return std::nullopt;
  const char* bytes = static_cast<const char*>(data);
  const void* zero = std::memchr(bytes, '\0', size);
  return std::string(bytes, zero ? static_cast<const char*>(zero) - bytes : size);
}
