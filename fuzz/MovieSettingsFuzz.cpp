// The display settings list (section "BL") of a project file, loaded, searched and saved back.

#include "frames/MovieSettingsList.h"
#include "fuzz/FuzzSupport.h"
#include "platform/framework/File.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.prj"));
    CMovieSettingsList list;
    {
        CFile file(path, CFile::modeRead);
        if (FAILED(list.Load(file)))
            return 0;
    }
    int count = 0;
    list.GetCount(&count);
    std::unique_ptr<CLutParamSet> first;
    std::unique_ptr<CLutParamSet> second;
    if (count > 0 && SUCCEEDED(list.GetItem(count - 1, &first, &second))) {
        int index = -1;
        list.Find(first.get(), second.get(), &index);
    }
    CFile out(FuzzFile(nullptr, 0, QStringLiteral("saved.prj")),
              CFile::modeCreate | CFile::modeWrite);
    list.Save(out);
    return 0;
}
