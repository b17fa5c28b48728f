#include "frames/MovieRef.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/Wnd.h"

CMovieRef::CMovieRef() : m_source(new CFrameSource) {}

bool CMovieRef::SetView(CWnd* view) {
    m_view = dynamic_cast<IMovieView*>(view);
    return m_view != nullptr;
}

HRESULT CMovieRef::CreateMovieAdapter(std::unique_ptr<CMovieAdapter>* out) {
    if (!out)
        return E_POINTER;
    *out = std::make_unique<CMovieAdapter>(m_source, m_view, m_syncWithSource, m_useViewLut);
    return S_OK;
}
