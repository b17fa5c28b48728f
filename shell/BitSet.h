#pragma once

// CBitSet: a growable set of bits kept in 32-bit words (bit n in word n / 32, least significant
// bit first). Recording notes mark their frames with it and step from one marked frame to the
// next.

#include <cstdint>
#include <vector>

class CBitSet {
public:
    // Bit count = bits; the words grow or shrink to hold them, new words clear. Bits beyond the
    // new count in a kept word are cleared too, so a set grown again shows no stale bits.
    void SetSize(int bits);
    int GetSize() const { return m_bits; }
    void ClearAll();
    // No words, size 0.
    void Reset();
    // Throws CInvalidArgException when the index's word lies outside the set.
    void SetBit(int index, bool value);
    // False for an empty set or an index outside it.
    bool TestBit(int index) const;
    // The first set bit after index (up to the last bit); index itself when there is none.
    int FindNextSet(int index) const;
    // The last set bit before index (down to 0); index itself when there is none.
    int FindPrevSet(int index) const;
    // 0 when the bit is clear; else the 1-based position of the bit among the set bits.
    int Ordinal(int index) const;
    int CountSet() const;

private:
    std::vector<uint32_t> m_words;
    int m_bits = 0;
};
