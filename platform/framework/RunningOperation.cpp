#include "platform/framework/RunningOperation.h"

#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"

#include <QCoreApplication>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// A close waiting for the operations it cancelled; queued once they have all ended.
struct PendingClose {
    std::uint64_t id = 0;
    const void* key = nullptr;
    std::vector<const CRunningOperation*> waiting;
    std::function<void()> close;
    bool queued = false;
};

std::vector<CRunningOperation*>& Running() {
    static std::vector<CRunningOperation*> running;
    return running;
}

std::vector<PendingClose>& Pending() {
    static std::vector<PendingClose> pending;
    return pending;
}

template <typename T>
bool Contains(const std::vector<T>& list, const T& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

void RunQueued(std::uint64_t id) {
    auto& pending = Pending();
    const auto it = std::find_if(pending.begin(), pending.end(),
                                 [id](const PendingClose& p) { return p.id == id; });
    if (it == pending.end())
        return;  // its document went meanwhile
    std::function<void()> close = std::move(it->close);
    pending.erase(it);
    close();
}

void Queue(PendingClose& entry) {
    entry.queued = true;
    const std::uint64_t id = entry.id;
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [id] { RunQueued(id); }, Qt::QueuedConnection);
    else
        RunQueued(id);
}

}  // namespace

CRunningOperation::CRunningOperation(std::vector<CDocument*> documents,
                                     std::function<void()> cancel)
    : m_cancel(std::move(cancel)) {
    for (CDocument* document : documents) {
        if (document && !Contains(m_documents, document))
            m_documents.push_back(document);
    }
    Running().push_back(this);
}

CRunningOperation::~CRunningOperation() {
    auto& running = Running();
    running.erase(std::remove(running.begin(), running.end(), this), running.end());
    // Queuing may run nothing now, but collect first: a close could change the list.
    std::vector<std::uint64_t> ready;
    for (PendingClose& entry : Pending()) {
        auto& waiting = entry.waiting;
        waiting.erase(std::remove(waiting.begin(), waiting.end(), this), waiting.end());
        if (waiting.empty() && !entry.queued)
            ready.push_back(entry.id);
    }
    for (const std::uint64_t id : ready) {
        auto& pending = Pending();
        const auto it = std::find_if(pending.begin(), pending.end(),
                                     [id](const PendingClose& p) { return p.id == id; });
        if (it != pending.end())
            Queue(*it);
    }
}

bool CRunningOperation::CancelBeforeClose(const std::vector<CDocument*>& documents, const void* key,
                                          std::function<void()> close) {
    std::vector<CRunningOperation*> hit;
    for (CRunningOperation* operation : Running()) {
        const bool uses = std::any_of(
            operation->m_documents.begin(), operation->m_documents.end(),
            [&documents](CDocument* document) { return Contains(documents, document); });
        if (uses)
            hit.push_back(operation);
    }
    if (hit.empty())
        return false;
    auto& pending = Pending();
    const bool kept = key && std::any_of(pending.begin(), pending.end(),
                                         [key](const PendingClose& p) { return p.key == key; });
    if (!kept) {
        static std::uint64_t s_nextId = 0;
        PendingClose entry;
        entry.id = ++s_nextId;
        entry.key = key;
        entry.waiting.assign(hit.begin(), hit.end());
        entry.close = std::move(close);
        pending.push_back(std::move(entry));
    }
    // Cancelling may let messages through; an operation may end inside its own cancel.
    for (CRunningOperation* operation : hit) {
        if (!Contains(Running(), operation))
            continue;
        operation->m_cancelled = true;
        if (operation->m_cancel)
            operation->m_cancel();
    }
    return true;
}

bool CRunningOperation::IsRunning(const CDocument* document) {
    return std::any_of(Running().begin(), Running().end(), [document](CRunningOperation* op) {
        return Contains(op->m_documents, const_cast<CDocument*>(document));
    });
}

std::vector<CDocument*> CRunningOperation::AllDocuments() {
    std::vector<CDocument*> documents;
    CWinApp* app = AfxGetApp();
    if (!app)
        return documents;
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* docTemplate = app->GetNextDocTemplate(pos);
        for (POSITION docPos = docTemplate->GetFirstDocPosition(); docPos;)
            documents.push_back(docTemplate->GetNextDoc(docPos));
    }
    return documents;
}

std::vector<CDocument*> CRunningOperation::DocumentsClosedWith(const CWnd* window) {
    CWinApp* app = AfxGetApp();
    if (app && window && app->m_pMainWnd == window)
        return AllDocuments();
    std::vector<CDocument*> documents;
    QWidget* widget = window ? window->GetQWidget() : nullptr;
    if (!widget)
        return documents;
    for (const QWidget* child : widget->findChildren<QWidget*>()) {
        const auto* view = dynamic_cast<const CView*>(CWnd::FromWidgetPermanent(child));
        if (CDocument* document = view ? view->GetDocument() : nullptr;
            document && !Contains(documents, document))
            documents.push_back(document);
    }
    return documents;
}

void CRunningOperation::ForgetDocument(const CDocument* document) {
    for (CRunningOperation* operation : Running()) {
        auto& list = operation->m_documents;
        list.erase(std::remove(list.begin(), list.end(), document), list.end());
    }
    auto& pending = Pending();
    pending.erase(std::remove_if(pending.begin(), pending.end(),
                                 [document](const PendingClose& p) { return p.key == document; }),
                  pending.end());
}
