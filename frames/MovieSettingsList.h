#pragma once

// CMovieSettingsList: pairs of display parameter sets (a first and a second set per pair) that a
// project keeps for its movies, saved as the section "BL" of the project file. The list holds
// its own copies of the sets and hands out copies that the caller owns.

#include "frames/lutparams/LutParamSet.h"
#include "platform/wintypes/WinError.h"

#include <memory>
#include <utility>
#include <vector>

class CFile;

class CMovieSettingsList {
public:
    CMovieSettingsList() = default;
    virtual ~CMovieSettingsList() = default;

    // Empties the list.
    virtual HRESULT Clear();
    // E_POINTER for a null count.
    virtual HRESULT GetCount(int* count);
    // Copies of pair index, owned by the caller. Both outs are emptied first; E_POINTER when
    // either is null, E_FAIL for an index outside the list.
    virtual HRESULT GetItem(int index, std::unique_ptr<CLutParamSet>* first,
                            std::unique_ptr<CLutParamSet>* second);
    // The index of the first pair whose sets both equal first and second (IsEqualTo); E_POINTER
    // for a null argument, E_FAIL with *index = -1 when no pair matches.
    virtual HRESULT Find(const CLutParamSet* first, const CLutParamSet* second, int* index);
    // Writes the pairs as the section "BL" at the file's position; E_FAIL when the file
    // cannot be written.
    virtual HRESULT Save(CFile& file);
    // Finds the section "BL" in the file and takes its pairs in index order. E_FAIL, with the
    // list as it was, when the section is missing, broken or unreadable.
    virtual HRESULT Load(CFile& file);

private:
    std::vector<std::pair<CLutParamSet, CLutParamSet>> m_pairs;
};
