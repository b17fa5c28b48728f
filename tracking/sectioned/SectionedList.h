#pragma once

// CSectionedList: numbered lists of fixed-size records, either one item per list (mode 0) or one
// entry per frame of a recording (mode 1), saved as one tagged section of a binary file that may
// hold other sections in any order. Used for tracking data, calibration files, overlay styles and
// per-movie display settings.

#include "platform/framework/File.h"
#include "platform/framework/InvalidArgException.h"
#include "platform/wintypes/WinTypes.h"
#include "tracking/sectioned/BufferedFile.h"
#include "tracking/sectioned/LittleEndian.h"
#include "tracking/sectioned/StoredString.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

// What a list needs of its item type. A record class provides a default constructor, copy,
//   static constexpr int kRecordSize;                              // bytes of its record image
//   void StoreRecord(std::span<uint8_t, kRecordSize>) const;        // little-endian, type word
//   first void LoadRecord(std::span<const uint8_t, kRecordSize>);         // ignores the type words
//   bool operator==(const Item&) const;  // items equal to the default item are not written
// 32-bit integers are items as they are: no type word and no equality, so every one is data.
template <class Item>
struct SectionedItemTraits {
    static constexpr int kRecordSize = Item::kRecordSize;
    static void Store(const Item& item, uint8_t* record) {
        item.StoreRecord(std::span<uint8_t, kRecordSize>(record, kRecordSize));
    }
    static void Load(Item& item, const uint8_t* record) {
        item.LoadRecord(std::span<const uint8_t, kRecordSize>(record, kRecordSize));
    }
    static bool Equal(const Item& a, const Item& b) { return a == b; }
};

template <>
struct SectionedItemTraits<int32_t> {
    static constexpr int kRecordSize = 4;
    static void Store(int32_t item, uint8_t* record) { PutInt32(record, item); }
    static void Load(int32_t& item, const uint8_t* record) { item = GetInt32(record); }
    static bool Equal(int32_t, int32_t) { return false; }
};

// Bits of the status that ReadFromFile returns. Callers test kSectionFailed: 0x1004 and 0x3004
// are failures part-way through a section.
inline constexpr DWORD kSectionFailed = 0x0004;
inline constexpr DWORD kSectionSingleItemsRead = 0x1000;
inline constexpr DWORD kSectionSecondaryItemsRead = 0x2000;
inline constexpr DWORD kSectionFrameItemsRead = 0x4000;

// The most memory that a section read from a file may claim for its per-frame entries. The
// entries are stored sparsely (only those that differ from the default), so a small file may
// rightly stand for a large list; the bound keeps a damaged count from asking for more than a
// long recording with many tracked features needs (256 MiB).
inline constexpr uint64_t kMaxFrameStorageBytes = uint64_t{1} << 28;

namespace sectioned_detail {

inline QString Marker(char kind, const QString& name, const char* suffix) {
    return QLatin1Char(kind) + QStringLiteral("SECTION=") + name + QLatin1String(suffix);
}

inline void WriteInt32(CFile& file, int32_t value) {
    uint8_t word[4];
    PutInt32(word, value);
    file.Write(word, 4);
}

// False on a short read: a partial word is never taken for data.
inline bool ReadBytes(CFile& file, uint8_t* buffer, UINT count) {
    return file.Read(buffer, count) == count;
}

inline bool ReadInt32(CFile& file, int32_t* value) {
    uint8_t word[4];
    if (!ReadBytes(file, word, 4))
        return false;
    *value = GetInt32(word);
    return true;
}

// Element access that raises the invalid-argument exception for an index outside the array.
template <class T>
T& At(std::vector<T>& items, int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(items.size()))
        AfxThrowInvalidArgException();
    return items[static_cast<size_t>(index)];
}

template <class T>
const T& At(const std::vector<T>& items, int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(items.size()))
        AfxThrowInvalidArgException();
    return items[static_cast<size_t>(index)];
}

}  // namespace sectioned_detail

template <class Item>
class CSectionedList {
public:
    using Traits = SectionedItemTraits<Item>;
    static constexpr int kNotInitialised = -1;
    static constexpr int kFlat = 0;
    static constexpr int kPerFrame = 1;

    CSectionedList() = default;
    virtual ~CSectionedList() = default;

    // The section name; the file markers are built from it.
    void SetName(const QString& name) { m_name = name; }
    // Stored and read back with the section, never interpreted.
    void SetHeaderValue(int32_t value) { m_headerValue = value; }
    int GetNumLists() const { return m_numLists; }
    int GetNumFrames() const { return m_numFrames; }

    // Rebuilds the list: every item becomes defaultItem. Fewer than two frames make it flat.
    // Negative counts throw CInvalidArgException.
    void Init(int mode, int frames, int lists, const Item& defaultItem);
    // Changes the counts and keeps the existing items; new entries hold defaultItem.
    void Resize(int mode, int frames, int lists, const Item& defaultItem);

    // Indices at or above the counts are clamped to the last one. In a per-frame list the entry
    // of that frame, in a flat list, or a per-frame list without frames (a file may hold one),
    // the list's single item (frame ignored), otherwise a default-constructed item. An index that
    // reaches no entry throws CInvalidArgException.
    Item GetItem(int frame, int list) const;
    // Frame 0 sets the list's single item (always) and, per frame, entry 0; other frames set the
    // per-frame entry only. Indices beyond the counts store nothing; a negative index that reaches
    // an array throws CInvalidArgException.
    void SetItem(int frame, int list, const Item& item);
    // Per-frame lists only: entries first .. last-1 of one list become item (negative indices
    // count as 0; an empty or out-of-range span does nothing). Returns last.
    int SetRange(int first, int last, int list, const Item& item);
    // Per-frame lists only: every entry becomes item.
    void FillAll(const Item& item);
    // Per-frame lists only: in each list the first entry that differs from item is kept, later
    // differing entries become item.
    void ResetAllButFirst(const Item& item);
    // Removes one list everywhere; the index is clamped into range. No effect on an empty list.
    void RemoveList(int index);
    // Makes this list a copy of other, name included.
    CSectionedList& CopyFrom(const CSectionedList& other);

    // Writes the section at the current position of a writable binary file: frames first..last
    // (inclusive) of the per-frame lists, every (step + 1)th of them. Nothing is written and
    // CInvalidArgException is thrown when the list lacks an entry the section needs.
    // CFileException passes to the caller.
    void WriteToFile(CFile& file, int first, int last, int step) const;
    // Finds the section anywhere in the file and reads it. Returns a set of kSection... bits:
    // 0x7000 for a complete per-frame list, 0x3000 for a flat list (or per-frame records ended
    // by an index out of range). With kSectionFailed set it failed: 4 when the section is
    // missing or unusable, 0x1004 or 0x3004 when it breaks off part-way. What was read before a
    // failure stays. Leaves the position where reading stopped. CFileException passes through.
    DWORD ReadFromFile(CFile& file);

private:
    void WriteEntries(CFile& file, const char* suffix, const std::vector<Item>& items) const;
    bool ReadEntries(CFile& file, std::vector<Item>& items) const;
    void WriteRecord(CFile& file, const Item& item) const;
    bool ReadRecord(CFile& file, Item& item) const;

    std::vector<std::vector<Item>> m_frameLists;
    std::vector<Item> m_singleItems;
    std::vector<Item> m_secondaryItems;
    int32_t m_numLists = 0;
    int32_t m_numFrames = 0;
    int32_t m_headerValue = 0;
    int32_t m_mode = kNotInitialised;
    Item m_defaultItem{};
    QString m_name;
};

template <class Item>
void CSectionedList<Item>::Init(int mode, int frames, int lists, const Item& defaultItem) {
    if (frames < 0 || lists < 0)
        AfxThrowInvalidArgException();
    const Item fill = defaultItem;
    m_mode = frames < 2 ? kFlat : mode;
    m_numFrames = frames;
    m_numLists = lists;
    m_defaultItem = fill;
    m_singleItems.assign(static_cast<size_t>(lists), fill);
    m_secondaryItems.assign(static_cast<size_t>(lists), fill);
    m_frameLists.clear();
    if (m_mode == kPerFrame)
        m_frameLists.assign(static_cast<size_t>(lists),
                            std::vector<Item>(static_cast<size_t>(frames), fill));
}

template <class Item>
void CSectionedList<Item>::Resize(int mode, int frames, int lists, const Item& defaultItem) {
    if (frames < 0 || lists < 0)
        AfxThrowInvalidArgException();
    const Item fill = defaultItem;
    const size_t keep = m_mode == kNotInitialised ? 0 : static_cast<size_t>(m_numLists);
    m_mode = frames < 2 ? kFlat : mode;
    m_numFrames = frames;
    m_numLists = lists;
    m_defaultItem = fill;
    const auto count = static_cast<size_t>(lists);
    m_singleItems.resize(count);
    m_secondaryItems.resize(count);
    for (size_t i = keep; i < count; ++i) {
        m_singleItems[i] = fill;
        m_secondaryItems[i] = fill;
    }
    if (m_mode != kPerFrame) {
        m_frameLists.clear();
        return;
    }
    // Lists from keep on are new; the kept ones grow or shrink to the new frame count. A list
    // that had no per-frame entries before (a flat list turning per-frame) is filled too.
    m_frameLists.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (i >= keep)
            m_frameLists[i].assign(static_cast<size_t>(frames), fill);
        else
            m_frameLists[i].resize(static_cast<size_t>(frames), fill);
    }
}

template <class Item>
Item CSectionedList<Item>::GetItem(int frame, int list) const {
    using sectioned_detail::At;
    const int64_t f = frame >= m_numFrames ? int64_t{m_numFrames} - 1 : frame;
    const int64_t l = list >= m_numLists ? int64_t{m_numLists} - 1 : list;
    if (m_mode == kPerFrame && m_numFrames > 0)
        return At(At(m_frameLists, l), f);
    if (m_mode == kFlat || m_mode == kPerFrame)
        return At(m_singleItems, l);
    return Item{};
}

template <class Item>
void CSectionedList<Item>::SetItem(int frame, int list, const Item& item) {
    using sectioned_detail::At;
    if (frame == 0) {
        if (list >= static_cast<int64_t>(m_singleItems.size()))
            return;
        At(m_singleItems, list) = item;
    }
    if (m_mode == kPerFrame && !m_frameLists.empty() && !m_frameLists.front().empty() &&
        list < static_cast<int64_t>(m_frameLists.size()) &&
        frame < static_cast<int64_t>(m_frameLists.front().size()))
        At(At(m_frameLists, list), frame) = item;
}

template <class Item>
int CSectionedList<Item>::SetRange(int first, int last, int list, const Item& item) {
    first = std::max(first, 0);
    last = std::max(last, 0);
    list = std::max(list, 0);
    if (m_mode != kPerFrame || first >= last || last > m_numFrames || list >= m_numLists)
        return last;
    auto& entries = sectioned_detail::At(m_frameLists, list);
    for (int f = first; f < last; ++f)
        sectioned_detail::At(entries, f) = item;
    return last;
}

template <class Item>
void CSectionedList<Item>::FillAll(const Item& item) {
    if (m_mode != kPerFrame)
        return;
    const Item fill = item;
    for (auto& entries : m_frameLists)
        std::fill(entries.begin(), entries.end(), fill);
}

template <class Item>
void CSectionedList<Item>::ResetAllButFirst(const Item& item) {
    if (m_mode != kPerFrame)
        return;
    const Item reset = item;
    for (auto& entries : m_frameLists) {
        bool kept = false;
        for (auto& entry : entries) {
            if (Traits::Equal(entry, reset))
                continue;
            if (kept)
                entry = reset;
            kept = true;
        }
    }
}

template <class Item>
void CSectionedList<Item>::RemoveList(int index) {
    if (m_numLists <= 0)
        return;
    const auto at = static_cast<size_t>(std::clamp(index, 0, m_numLists - 1));
    if (m_mode == kPerFrame && at < m_frameLists.size()) {
        m_frameLists.erase(m_frameLists.begin() + static_cast<ptrdiff_t>(at));
        m_numLists = static_cast<int32_t>(m_frameLists.size());
    }
    if (at < m_singleItems.size())
        m_singleItems.erase(m_singleItems.begin() + static_cast<ptrdiff_t>(at));
    if (at < m_secondaryItems.size())
        m_secondaryItems.erase(m_secondaryItems.begin() + static_cast<ptrdiff_t>(at));
    m_numLists = static_cast<int32_t>(m_singleItems.size());
}

template <class Item>
CSectionedList<Item>& CSectionedList<Item>::CopyFrom(const CSectionedList& other) {
    using sectioned_detail::At;
    if (&other == this)
        return *this;
    m_name = other.m_name;
    m_headerValue = other.m_headerValue;
    Init(other.m_mode, other.m_numFrames, other.m_numLists, other.m_defaultItem);
    if (other.m_singleItems.empty() || other.m_secondaryItems.empty())
        return *this;
    for (int32_t i = 0; i < m_numLists; ++i) {
        m_singleItems[static_cast<size_t>(i)] = At(other.m_singleItems, i);
        m_secondaryItems[static_cast<size_t>(i)] = At(other.m_secondaryItems, i);
    }
    if (other.m_frameLists.empty() || other.m_frameLists.front().empty() || m_mode != kPerFrame)
        return *this;
    for (int32_t i = 0; i < m_numLists; ++i) {
        const auto& source = At(other.m_frameLists, i);
        if (source.size() < static_cast<size_t>(m_numFrames))
            AfxThrowInvalidArgException();
        std::copy_n(source.begin(), m_numFrames, m_frameLists[static_cast<size_t>(i)].begin());
    }
    return *this;
}

template <class Item>
void CSectionedList<Item>::WriteRecord(CFile& file, const Item& item) const {
    std::array<uint8_t, Traits::kRecordSize> record{};
    Traits::Store(item, record.data());
    file.Write(record.data(), Traits::kRecordSize);
}

template <class Item>
bool CSectionedList<Item>::ReadRecord(CFile& file, Item& item) const {
    std::array<uint8_t, Traits::kRecordSize> record{};
    if (!sectioned_detail::ReadBytes(file, record.data(), Traits::kRecordSize))
        return false;
    Traits::Load(item, record.data());
    return true;
}

template <class Item>
void CSectionedList<Item>::WriteEntries(CFile& file, const char* suffix,
                                        const std::vector<Item>& items) const {
    using namespace sectioned_detail;
    WriteStringToFile(file, Marker('!', m_name, suffix));
    for (int32_t i = 0; i < m_numLists; ++i) {
        WriteInt32(file, i);
        WriteRecord(file, items[static_cast<size_t>(i)]);
    }
    WriteStringToFile(file, Marker('?', m_name, suffix));
}

template <class Item>
bool CSectionedList<Item>::ReadEntries(CFile& file, std::vector<Item>& items) const {
    for (size_t i = 0; i < items.size(); ++i) {
        int32_t index = 0;
        Item item{};
        if (!sectioned_detail::ReadInt32(file, &index) || !ReadRecord(file, item))
            return false;
        items[i] = item;
    }
    return true;
}

template <class Item>
void CSectionedList<Item>::WriteToFile(CFile& file, int first, int last, int step) const {
    using namespace sectioned_detail;
    const int64_t stride = int64_t{std::max(step, 0)} + 1;
    const int64_t frames = last < first ? 0 : (int64_t{last} - first) / stride + 1;
    const int64_t lastVisited = first + (frames - 1) * stride;
    // Check everything the section needs before writing, so a bad list leaves no half section.
    if (m_numLists < 0 || m_singleItems.size() < static_cast<size_t>(m_numLists) ||
        m_secondaryItems.size() < static_cast<size_t>(m_numLists))
        AfxThrowInvalidArgException();
    if (m_mode == kPerFrame && frames > 0 && m_numLists > 0) {
        if (first < 0 || m_frameLists.size() < static_cast<size_t>(m_numLists))
            AfxThrowInvalidArgException();
        for (int32_t i = 0; i < m_numLists; ++i)
            if (static_cast<int64_t>(m_frameLists[static_cast<size_t>(i)].size()) <= lastVisited)
                AfxThrowInvalidArgException();
    }

    CBufferedFile out(file, CBufferedFile::Direction::Write);
    WriteStringToFile(out, Marker('!', m_name, "!"));
    WriteInt32(out, m_headerValue);
    WriteInt32(out, m_mode);
    WriteInt32(out, m_numLists);
    WriteEntries(out, "_SINGLEITEM", m_singleItems);
    WriteEntries(out, "_SECONDARYITEM", m_secondaryItems);
    if (m_mode == kPerFrame) {
        WriteStringToFile(out, Marker('!', m_name, "_LIST"));
        WriteInt32(out, m_numLists);
        WriteInt32(out, static_cast<int32_t>(frames));
        int32_t framesWithData = 0;
        int32_t records = 0;
        for (int64_t k = 0; k < frames; ++k) {
            const auto f = static_cast<size_t>(first + k * stride);
            int32_t inFrame = 0;
            for (int32_t i = 0; i < m_numLists; ++i)
                if (!Traits::Equal(m_frameLists[static_cast<size_t>(i)][f], m_defaultItem))
                    ++inFrame;
            records += inFrame;
            framesWithData += inFrame > 0 ? 1 : 0;
        }
        WriteInt32(out, framesWithData);
        WriteInt32(out, records);
        if (framesWithData > 0) {
            WriteStringToFile(out, Marker('!', m_name, "_ITEMS"));
            for (int64_t k = 0; k < frames; ++k) {
                const auto f = static_cast<size_t>(first + k * stride);
                for (int32_t i = 0; i < m_numLists; ++i) {
                    const Item& item = m_frameLists[static_cast<size_t>(i)][f];
                    if (Traits::Equal(item, m_defaultItem))
                        continue;
                    WriteInt32(out, static_cast<int32_t>(k));
                    WriteInt32(out, i);
                    WriteRecord(out, item);
                }
            }
            WriteInt32(out, -1);
            WriteInt32(out, -1);
            WriteRecord(out, m_defaultItem);
            WriteStringToFile(out, Marker('?', m_name, "_ITEMS"));
        }
        WriteStringToFile(out, Marker('?', m_name, "_LIST"));
    }
    WriteStringToFile(out, Marker('?', m_name, "?"));
    out.Flush();
}

template <class Item>
DWORD CSectionedList<Item>::ReadFromFile(CFile& file) {
    using namespace sectioned_detail;
    constexpr DWORD kSingleFailed = kSectionSingleItemsRead | kSectionFailed;
    constexpr DWORD kSecondaryFailed =
        kSectionSingleItemsRead | kSectionSecondaryItemsRead | kSectionFailed;
    constexpr DWORD kItemsRead = kSectionSingleItemsRead | kSectionSecondaryItemsRead;
    constexpr DWORD kAllRead = kItemsRead | kSectionFrameItemsRead;

    const QString opening = Marker('!', m_name, "!");
    int64_t offset = 0;
    if (!FindBinaryStoredStringInFile(file, opening, &offset) || offset < 4)
        return kSectionFailed;
    CBufferedFile in(file, CBufferedFile::Direction::Read);
    in.Seek(offset - 4, CFile::begin);
    if (!ReadStringFromFileAndCompare(in, opening))
        return kSectionFailed;

    int32_t header = 0;
    int32_t mode = 0;
    int32_t lists = 0;
    if (!ReadInt32(in, &header) || !ReadInt32(in, &mode) || !ReadInt32(in, &lists))
        return kSectionFailed;
    // Both item sub-sections must fit in what is left of the file.
    const uint64_t remaining = in.GetLength() - in.GetPosition();
    const uint64_t entryBytes = 4 + Traits::kRecordSize;
    if (lists < 0 || static_cast<uint64_t>(lists) * 2 * entryBytes > remaining)
        return kSectionFailed;
    m_headerValue = header;
    m_mode = mode;
    m_numLists = lists;

    if (!ReadStringFromFileAndCompare(in, Marker('!', m_name, "_SINGLEITEM")))
        return kSectionFailed;
    m_singleItems.resize(static_cast<size_t>(lists));
    m_secondaryItems.resize(static_cast<size_t>(lists));
    if (!ReadEntries(in, m_singleItems) ||
        !ReadStringFromFileAndCompare(in, Marker('?', m_name, "_SINGLEITEM")))
        return kSectionFailed;
    if (!ReadStringFromFileAndCompare(in, Marker('!', m_name, "_SECONDARYITEM")) ||
        !ReadEntries(in, m_secondaryItems))
        return kSingleFailed;
    if (!ReadStringFromFileAndCompare(in, Marker('?', m_name, "_SECONDARYITEM")))
        return kSecondaryFailed;
    if (mode != kPerFrame) {
        m_numFrames = 1;
        return kItemsRead;
    }

    if (!ReadStringFromFileAndCompare(in, Marker('!', m_name, "_LIST")))
        return kSecondaryFailed;
    int32_t listsAgain = 0;
    int32_t frames = 0;
    int32_t framesWithData = 0;
    int32_t records = 0;
    if (!ReadInt32(in, &listsAgain) || !ReadInt32(in, &frames) || !ReadInt32(in, &framesWithData) ||
        !ReadInt32(in, &records))
        return kSecondaryFailed;
    if (frames < 0 || static_cast<uint64_t>(lists) * static_cast<uint64_t>(frames) * sizeof(Item) >
                          kMaxFrameStorageBytes)
        return kSecondaryFailed;
    m_numFrames = frames;
    const auto buildLists = [&] {
        m_frameLists.assign(static_cast<size_t>(lists),
                            std::vector<Item>(static_cast<size_t>(frames), m_defaultItem));
    };
    if (framesWithData == 0) {
        buildLists();
        return kAllRead;
    }
    if (!ReadStringFromFileAndCompare(in, Marker('!', m_name, "_ITEMS")))
        return kSecondaryFailed;
    buildLists();
    for (int32_t r = 0; r < records; ++r) {
        int32_t k = 0;
        int32_t i = 0;
        if (!ReadInt32(in, &k) || !ReadInt32(in, &i))
            return kSecondaryFailed;
        if (k < 0 || k >= frames || i < 0 || i >= lists)
            return kItemsRead;
        Item item{};
        if (!ReadRecord(in, item))
            return kSecondaryFailed;
        m_frameLists[static_cast<size_t>(i)][static_cast<size_t>(k)] = item;
    }
    return kAllRead;
}
