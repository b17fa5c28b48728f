#include "platform/framework/FileDialog.h"
#include "platform/framework/IPrompter.h"

#include <QApplication>

#include <cstdio>

// A child process of the prompter tests: it asks one question and one file name through the
// prompter its environment selects, prints the chosen path and exits with the answer.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AfxSetAppTitle("Vidra Player");
    const int answer = AfxMessageBox("Erase device memory?", MB_YESNO | MB_ICONQUESTION);
    CFileDialog dialog(FALSE, "ant", "notes", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Annotation Files (*.ant)|*.ant||");
    dialog.m_ofn.lpstrTitle = "Save Annotations";
    if (dialog.DoModal() == IDOK)
        std::printf("%s\n", qPrintable(dialog.GetPathName()));
    return answer;
}
