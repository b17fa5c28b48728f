#pragma once

// CBitSet: a growable set of bits kept in 32-bit words, bit n in word n / 32 at bit n % 32
// (least significant first). The notes side-file marks with it which frames carry notes and
// steps from one marked frame to the next.

#include "platform/wintypes/WinTypes.h"

#include <cstdint>
#include <vector>

class CBitSet {
public:
    CBitSet() = default;

    // bits bits in bits / 32 words, one more for a remainder; new words are 0.
    void SetSize(int bits);
    int GetSize() const { return m_bits; }
    int GetWordCount() const { return static_cast<int>(m_words.size()); }
    void ClearAll();
    // Raises the invalid-argument exception for an index whose word lies outside the set,
    // and for a negative index.
    void SetBit(int index, BOOL value);
    // FALSE for an empty set and for an index outside it.
    BOOL TestBit(int index) const;
    // The first set bit after index (up to the bit count - 1); index itself when none.
    int FindNextSet(int index) const;
    // The last set bit before index (down to 0); index itself when none.
    int FindPrevSet(int index) const;
    // 0 when the bit is clear, else its 1-based position among the set bits.
    int Ordinal(int index) const;
    // How many bits are set.
    int CountSet() const;

private:
    std::vector<uint32_t> m_words;
    int m_bits = 0;
};
