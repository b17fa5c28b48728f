#pragma once

// CRunningOperation: a long operation that lets messages through (a progress window) or runs
// on another thread, registered with the documents whose contents it uses for as long as the
// object lives; put one on the stack around the work. A close that would delete one of those
// documents (a frame's close, CDocument::OnCloseDocument, closing every document, the main
// window) first calls the operation's cancel function, the same as its own Cancel, and does
// nothing more then: the close runs again from the event loop once every operation it
// cancelled has ended, with its own questions as before. So no document is deleted from inside
// a message loop of an operation that uses it.
//
// User-interface thread only.

#include <functional>
#include <vector>

class CDocument;
class CWnd;

class CRunningOperation {
public:
    // Registers with documents (null entries are skipped); cancel asks the operation to end as
    // its Cancel ends it, and may be called more than once.
    CRunningOperation(std::vector<CDocument*> documents, std::function<void()> cancel);
    ~CRunningOperation();
    CRunningOperation(const CRunningOperation&) = delete;
    CRunningOperation& operator=(const CRunningOperation&) = delete;

    // Whether a close has cancelled the operation.
    bool IsCancelled() const { return m_cancelled; }

    // Cancels every operation registered with one of documents. When any runs, close is kept
    // (under key: a second close of the same key while the first waits is dropped) and runs
    // from the event loop after the last of them has ended, and the answer is true: the caller
    // stops its close now. False when none runs.
    static bool CancelBeforeClose(const std::vector<CDocument*>& documents, const void* key,
                                  std::function<void()> close);
    // Whether an operation is registered with document.
    static bool IsRunning(const CDocument* document);
    // The documents a close of window deletes: every open document for the main window, else
    // those of the views inside window.
    static std::vector<CDocument*> DocumentsClosedWith(const CWnd* window);
    // Every document of the application's templates.
    static std::vector<CDocument*> AllDocuments();
    // The document is being deleted: operations forget it and closes kept under it are dropped.
    static void ForgetDocument(const CDocument* document);

private:
    std::vector<CDocument*> m_documents;
    std::function<void()> m_cancel;
    bool m_cancelled = false;
};
