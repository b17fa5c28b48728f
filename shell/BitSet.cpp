#include "shell/BitSet.h"

#include "platform/framework/InvalidArgException.h"

#include <algorithm>
#include <bit>

void CBitSet::SetSize(int bits) {
    m_bits = std::max(bits, 0);
    m_words.resize(static_cast<size_t>((static_cast<int64_t>(m_bits) + 31) / 32), 0u);
    if (m_bits % 32 != 0)
        m_words.back() &= (1u << (m_bits % 32)) - 1u;
}

void CBitSet::ClearAll() {
    std::fill(m_words.begin(), m_words.end(), 0u);
}

void CBitSet::Reset() {
    m_words.clear();
    m_bits = 0;
}

void CBitSet::SetBit(int index, bool value) {
    if (index < 0 || index >= m_bits)
        AfxThrowInvalidArgException();
    const uint32_t mask = 1u << (index % 32);
    uint32_t& word = m_words[static_cast<size_t>(index / 32)];
    word = value ? word | mask : word & ~mask;
}

bool CBitSet::TestBit(int index) const {
    if (index < 0 || index >= m_bits)
        return false;
    return (m_words[static_cast<size_t>(index / 32)] >> (index % 32)) & 1u;
}

int CBitSet::FindNextSet(int index) const {
    for (int i = std::max(index + 1, 0); i < m_bits; ++i)
        if (TestBit(i))
            return i;
    return index;
}

int CBitSet::FindPrevSet(int index) const {
    for (int i = std::min(index, m_bits) - 1; i >= 0; --i)
        if (TestBit(i))
            return i;
    return index;
}

int CBitSet::Ordinal(int index) const {
    if (!TestBit(index))
        return 0;
    int count = 0;
    const int fullWords = index / 32;
    for (int w = 0; w < fullWords; ++w)
        count += std::popcount(m_words[static_cast<size_t>(w)]);
    const uint32_t last = m_words[static_cast<size_t>(fullWords)];
    const int upTo = index % 32;
    const uint32_t mask = upTo == 31 ? 0xffffffffu : (2u << upTo) - 1u;
    return count + std::popcount(last & mask);
}

int CBitSet::CountSet() const {
    int count = 0;
    for (uint32_t w : m_words)
        count += std::popcount(w);
    return count;
}
