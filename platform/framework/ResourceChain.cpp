#include "platform/framework/ResourceChain.h"

#include <QLibrary>
#include <QMutex>

#include <algorithm>
#include <utility>

namespace {

struct LoadedLibrary {
    QString path;
    QLibrary* library;
    const CResourceModule* module;
};

struct Chain {
    QMutex mutex;
    std::vector<const CResourceModule*> modules;
    std::vector<LoadedLibrary> libraries;
    const CResourceModule* preferred = nullptr;
};

Chain& TheChain() {
    static Chain chain;
    return chain;
}

// The modules in search order: the preferred one first.
std::vector<const CResourceModule*> SearchOrder(const Chain& chain) {
    std::vector<const CResourceModule*> order;
    order.reserve(chain.modules.size());
    if (chain.preferred)
        order.push_back(chain.preferred);
    for (const CResourceModule* module : chain.modules) {
        if (module != chain.preferred)
            order.push_back(module);
    }
    return order;
}

// The first entry with that id in the member table of the modules, in search order.
template <typename T>
const T* FindIn(std::vector<T> CResourceModule::*table, UINT nID) {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    for (const CResourceModule* module : SearchOrder(chain)) {
        const std::vector<T>& entries = module->*table;
        const auto it =
            std::find_if(entries.begin(), entries.end(), [nID](const T& e) { return e.id == nID; });
        if (it != entries.end())
            return &*it;
    }
    return nullptr;
}

QImage LoadImage(std::vector<ImageResource> CResourceModule::*table, UINT nID) {
    const ImageResource* image = FindIn(table, nID);
    return image ? QImage(image->path) : QImage();
}

}  // namespace

void CResourceChain::AddModule(const CResourceModule* module) {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    if (module &&
        std::find(chain.modules.begin(), chain.modules.end(), module) == chain.modules.end())
        chain.modules.push_back(module);
}

void CResourceChain::RemoveModule(const CResourceModule* module) {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    std::erase(chain.modules, module);
    if (chain.preferred == module)
        chain.preferred = nullptr;
}

BOOL CResourceChain::LoadLibrary(const QString& path, QString* error) {
    auto* library = new QLibrary(path);
    library->setLoadHints(QLibrary::PreventUnloadHint);
    auto entry = reinterpret_cast<ResourceEntryPoint>(library->resolve(kResourceEntryPoint));
    const CResourceModule* module = entry ? entry() : nullptr;
    if (!module) {
        if (error)
            *error = library->isLoaded() ? QStringLiteral("%1 has no resource tables").arg(path)
                                         : library->errorString();
        library->unload();
        delete library;
        return FALSE;
    }
    AddModule(module);
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    chain.libraries.push_back({path, library, module});
    return TRUE;
}

BOOL CResourceChain::UnloadLibrary(const QString& path) {
    LoadedLibrary loaded{};
    {
        Chain& chain = TheChain();
        QMutexLocker lock(&chain.mutex);
        const auto it = std::find_if(chain.libraries.begin(), chain.libraries.end(),
                                     [&](const LoadedLibrary& l) { return l.path == path; });
        if (it == chain.libraries.end())
            return FALSE;
        loaded = *it;
        chain.libraries.erase(it);
    }
    RemoveModule(loaded.module);
    loaded.library->unload();
    delete loaded.library;
    return TRUE;
}

std::vector<QString> CResourceChain::ModuleNames() {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    std::vector<QString> names;
    for (const CResourceModule* module : chain.modules)
        names.push_back(module->name);
    return names;
}

const CResourceModule* CResourceChain::FindModule(const QString& name) {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    const auto it = std::find_if(chain.modules.begin(), chain.modules.end(),
                                 [&](const CResourceModule* m) { return m->name == name; });
    return it != chain.modules.end() ? *it : nullptr;
}

const CResourceModule* CResourceChain::SetPreferredModule(const CResourceModule* module) {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    return std::exchange(chain.preferred, module);
}

const CResourceModule* CResourceChain::PreferredModule() {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    return chain.preferred;
}

const DialogTemplate* CResourceChain::FindDialog(UINT nID) {
    return FindIn(&CResourceModule::dialogs, nID);
}

const MenuTemplate* CResourceChain::FindMenu(UINT nID) {
    return FindIn(&CResourceModule::menus, nID);
}

const AcceleratorTable* CResourceChain::FindAccelerators(UINT nID) {
    return FindIn(&CResourceModule::accelerators, nID);
}

const ToolBarTemplate* CResourceChain::FindToolBar(UINT nID) {
    return FindIn(&CResourceModule::toolBars, nID);
}

BOOL CResourceChain::FindString(UINT nID, QString& text) {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    for (const CResourceModule* module : SearchOrder(chain)) {
        if (const auto it = module->strings.find(nID); it != module->strings.end()) {
            text = it->second;
            return TRUE;
        }
    }
    return FALSE;
}

QImage CResourceChain::LoadBitmap(UINT nID) {
    return LoadImage(&CResourceModule::bitmaps, nID);
}

QImage CResourceChain::LoadIcon(UINT nID) {
    return LoadImage(&CResourceModule::icons, nID);
}

QString CResourceChain::CommandIconName(UINT nID) {
    Chain& chain = TheChain();
    QMutexLocker lock(&chain.mutex);
    for (const CResourceModule* module : SearchOrder(chain)) {
        if (const auto it = module->commandIcons.find(nID); it != module->commandIcons.end())
            return it->second;
    }
    return QString();
}

BOOL LoadString(UINT nID, QString& text) {
    return CResourceChain::FindString(nID, text);
}
