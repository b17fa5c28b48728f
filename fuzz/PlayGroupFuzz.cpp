// A play-group file (".playgrp") read as an open group reads it: the group is a document of
// the program's group template, shown in its frame and view, and each line is resolved against
// the group's folder, which holds a few member files; the members that exist are collected.

#include "fuzz/FuzzSupport.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/MeasurementView.h"
#include "platform/framework/MultiDocTemplate.h"
#include "shell/MainFrame.h"
#include "shell/VidraApp.h"

#include <QFileInfo>

#include <cstdlib>

namespace {

constexpr const char* kGroupKey = "DT:Meas2";

CVidraApp& GroupApp() {
    static CVidraApp* app = [] {
        FuzzInit();
        auto* program = new CVidraApp(QStringLiteral("Vidra Player"));
        auto* main = new CMainFrame;
        if (!main->LoadFrame(128, WS_OVERLAPPEDWINDOW))
            std::abort();
        program->m_pMainWnd = main;
        auto* group = new CMultiDocTemplate(0, RUNTIME_CLASS(CMeasurementFormDoc),
                                            RUNTIME_CLASS(CMeasurementFormFrame),
                                            RUNTIME_CLASS(CMeasurementView));
        group->SetDocString(QString::fromLatin1(CMeasurementFormDoc::kDocString));
        program->AddDocTemplateWithKey(QString::fromLatin1(kGroupKey), group);
        return program;
    }();
    return *app;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CVidraApp& app = GroupApp();
    for (const char* member : {"a.raw", "sub/b.mdat", "Mess\u00B01.avi"})
        FuzzFile(nullptr, 0, QString::fromUtf8(member));
    const QString path = FuzzFile(data, size, QStringLiteral("input.playgrp"));
    auto* group = dynamic_cast<CMeasurementFormDoc*>(
        app.CreateDocumentByKey(QString::fromLatin1(kGroupKey), QString(), FALSE));
    if (!group)
        std::abort();
    group->ReadPlayGroupFile(path, 1);
    // Only files that exist are members.
    for (const QString& member : group->GetPendingList()) {
        if (!QFileInfo(member).isFile())
            std::abort();
    }
    group->OnCloseDocument();
    return 0;
}
