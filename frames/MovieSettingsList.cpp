#include "frames/MovieSettingsList.h"

#include "frames/LutParamSetList.h"
#include "platform/framework/Exception.h"

namespace {

const QString kSectionName = QStringLiteral("BL");
constexpr int kMaxPairs = 1 << 16;

}  // namespace

HRESULT CMovieSettingsList::Clear() {
    m_pairs.clear();
    return S_OK;
}

HRESULT CMovieSettingsList::GetCount(int* count) {
    if (!count)
        return E_POINTER;
    *count = static_cast<int>(m_pairs.size());
    return S_OK;
}

HRESULT CMovieSettingsList::GetItem(int index, std::unique_ptr<CLutParamSet>* first,
                                    std::unique_ptr<CLutParamSet>* second) {
    if (first)
        first->reset();
    if (second)
        second->reset();
    if (!first || !second)
        return E_POINTER;
    if (index < 0 || index >= static_cast<int>(m_pairs.size()))
        return E_FAIL;
    const auto& pair = m_pairs[static_cast<size_t>(index)];
    *first = std::make_unique<CLutParamSet>(pair.first);
    *second = std::make_unique<CLutParamSet>(pair.second);
    return S_OK;
}

HRESULT CMovieSettingsList::Find(const CLutParamSet* first, const CLutParamSet* second,
                                 int* index) {
    if (!first || !second || !index)
        return E_POINTER;
    *index = -1;
    CLutParamSet wantedFirst(*first);
    CLutParamSet wantedSecond(*second);
    for (size_t i = 0; i < m_pairs.size(); ++i) {
        BYTE firstEqual = 0;
        BYTE secondEqual = 0;
        m_pairs[i].first.IsEqualTo(&wantedFirst, &firstEqual);
        m_pairs[i].second.IsEqualTo(&wantedSecond, &secondEqual);
        if (firstEqual && secondEqual) {
            *index = static_cast<int>(i);
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT CMovieSettingsList::Save(CFile& file) {
    const int count = static_cast<int>(m_pairs.size());
    CLutParamSetList list;
    list.SetName(kSectionName);
    list.SetHeaderValue(0);
    // Two lists (first and second sets) with one entry per pair; an empty list has no lists,
    // so that it reads back empty.
    list.Init(CLutParamSetList::kPerFrame, count, count > 0 ? 2 : 0, CLutParamSet());
    for (int i = 0; i < count; ++i) {
        list.SetItem(i, 0, m_pairs[static_cast<size_t>(i)].first);
        list.SetItem(i, 1, m_pairs[static_cast<size_t>(i)].second);
    }
    try {
        list.WriteToFile(file);
    } catch (const CException&) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CMovieSettingsList::Load(CFile& file) {
    CLutParamSetList list;
    list.SetName(kSectionName);
    std::vector<std::pair<CLutParamSet, CLutParamSet>> pairs;
    try {
        if (!list.ReadFromFile(file))
            return E_FAIL;
        if (list.GetNumLists() >= 2) {
            const int count = list.GetNumFrames();
            // One pair per movie of the project: a count beyond any project is a damaged file,
            // and would otherwise copy out millions of default pairs.
            if (count > kMaxPairs)
                return E_FAIL;
            pairs.reserve(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i)
                pairs.emplace_back(list.GetItem(i, 0), list.GetItem(i, 1));
        }
    } catch (const CException&) {
        return E_FAIL;
    }
    m_pairs = std::move(pairs);
    return S_OK;
}
