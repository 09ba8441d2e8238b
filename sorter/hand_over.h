// The payload of one file handed over from a later sorter process: the path and its zero byte.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

// The path in a received payload: the bytes up to the first zero byte, or all size bytes when
// there is none among them. Nothing for a null pointer or a size of 0. Never reads beyond size.
std::optional<std::string> HandedOverPath(const void* data, size_t size);
