#pragma once

// POSITION: where a walk over one of the framework's lists stands (templates, documents,
// views). It encodes the next element's index; null means the walk is over.

#include <cstddef>
#include <cstdint>

using POSITION = struct PositionTag*;

inline POSITION PositionFromIndex(std::size_t index) {
    return reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(index) + 1);
}
inline std::size_t IndexFromPosition(POSITION pos) {
    return static_cast<std::size_t>(reinterpret_cast<std::uintptr_t>(pos)) - 1;
}
// The position of index in a list of size elements: null past the end.
inline POSITION PositionIn(std::size_t index, std::size_t size) {
    return index < size ? PositionFromIndex(index) : nullptr;
}
