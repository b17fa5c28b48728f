#include "shell/BitSet.h"

#include "platform/framework/InvalidArgException.h"

#include <algorithm>
#include <bit>

void CBitSet::SetSize(int bits) {
    m_bits = std::max(bits, 0);
    m_words.resize(static_cast<size_t>(m_bits / 32 + (m_bits % 32 ? 1 : 0)), 0u);
}

void CBitSet::ClearAll() {
    std::fill(m_words.begin(), m_words.end(), 0u);
}

void CBitSet::SetBit(int index, BOOL value) {
    if (index < 0 || static_cast<size_t>(index / 32) >= m_words.size())
        AfxThrowInvalidArgException();
    const uint32_t mask = 1u << (index % 32);
    uint32_t& word = m_words[static_cast<size_t>(index / 32)];
    word = value ? (word | mask) : (word & ~mask);
}

BOOL CBitSet::TestBit(int index) const {
    if (index < 0 || static_cast<size_t>(index / 32) >= m_words.size())
        return FALSE;
    return (m_words[static_cast<size_t>(index / 32)] >> (index % 32)) & 1u ? TRUE : FALSE;
}

int CBitSet::FindNextSet(int index) const {
    if (index >= m_bits - 1)
        return index;
    for (int bit = std::max(index + 1, 0); bit < m_bits; ++bit) {
        if (TestBit(bit))
            return bit;
    }
    return index;
}

int CBitSet::FindPrevSet(int index) const {
    if (index <= 0)
        return index;
    for (int bit = std::min(index - 1, m_bits - 1); bit >= 0; --bit) {
        if (TestBit(bit))
            return bit;
    }
    return index;
}

int CBitSet::Ordinal(int index) const {
    if (!TestBit(index))
        return 0;
    int count = 0;
    const size_t lastWord = static_cast<size_t>(index / 32);
    for (size_t w = 0; w < lastWord; ++w)
        count += std::popcount(m_words[w]);
    const int within = index % 32;
    const uint32_t mask = within == 31 ? 0xFFFFFFFFu : (2u << within) - 1u;
    return count + std::popcount(m_words[lastWord] & mask);
}

int CBitSet::CountSet() const {
    int count = 0;
    for (uint32_t word : m_words)
        count += std::popcount(word);
    return count;
}
