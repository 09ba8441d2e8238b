#include "base/rewrite_attributes.h"

std::uint32_t RewriteAttributes(std::uint32_t existing) {
  if (existing == kNoAttributes) return kAttributeNormal;
  const std::uint32_t kept = existing & (kAttributeHidden | kAttributeSystem | kAttributeArchive);
  return kept ? kept : kAttributeNormal;
}
