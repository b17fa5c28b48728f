#include "frames/FileMapping.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace {

// The address ranges of live mappings. The bus-error handler reads them without locks, so each
// slot is claimed and released with atomics: a range is published end first, begin last.
constexpr int kSlots = 256;
struct Range {
    std::atomic<uintptr_t> begin{0};
    std::atomic<uintptr_t> end{0};
};
Range s_ranges[kSlots];
std::mutex s_slotMutex;
struct sigaction s_previous;
std::atomic<int> s_mappingsMade{0};

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<uintptr_t>(info->si_addr);
    for (const Range& range : s_ranges) {
        const uintptr_t begin = range.begin.load(std::memory_order_acquire);
        if (begin == 0 || address < begin || address >= range.end.load(std::memory_order_acquire))
            continue;
        // A page the file no longer has: zeros in its place, and the access is tried again.
        const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
        void* at = reinterpret_cast<void*>(address & ~(page - 1));
        if (::mmap(at, page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED)
            return;
        break;
    }
    // Not one of ours: whoever handled it before, or the default action when the access is
    // tried again.
    if (s_previous.sa_flags & SA_SIGINFO) {
        if (s_previous.sa_sigaction) {
            s_previous.sa_sigaction(signal, info, context);
            return;
        }
    } else if (s_previous.sa_handler != SIG_DFL && s_previous.sa_handler != SIG_IGN) {
        s_previous.sa_handler(signal);
        return;
    }
    ::signal(signal, SIG_DFL);
}

void InstallHandler() {
    struct sigaction action = {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &s_previous);
}

}  // namespace

std::shared_ptr<const CFileMapping> CFileMapping::Map(int fd, int64_t bytes) {
    if (fd < 0 || bytes <= 0 || static_cast<uint64_t>(bytes) > SIZE_MAX)
        return nullptr;
    static std::once_flag installed;
    std::call_once(installed, InstallHandler);
    std::lock_guard lock(s_slotMutex);
    int slot = 0;
    while (slot < kSlots && s_ranges[slot].begin.load(std::memory_order_relaxed) != 0)
        ++slot;
    if (slot == kSlots)
        return nullptr;
    void* data = ::mmap(nullptr, static_cast<size_t>(bytes), PROT_READ, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED)
        return nullptr;
    const auto begin = reinterpret_cast<uintptr_t>(data);
    s_ranges[slot].end.store(begin + static_cast<uintptr_t>(bytes), std::memory_order_release);
    s_ranges[slot].begin.store(begin, std::memory_order_release);
    ++s_mappingsMade;
    return std::shared_ptr<const CFileMapping>(
        new CFileMapping(static_cast<const BYTE*>(data), bytes, slot));
}

CFileMapping::~CFileMapping() {
    {
        std::lock_guard lock(s_slotMutex);
        s_ranges[m_slot].begin.store(0, std::memory_order_release);
        s_ranges[m_slot].end.store(0, std::memory_order_release);
    }
    ::munmap(const_cast<BYTE*>(m_data), static_cast<size_t>(m_size));
}

int CFileMapping::MappingsMade() {
    return s_mappingsMade.load();
}
