// Runs a fuzz target's entry point on every file of the folders given, the way libFuzzer runs a
// single input: a fault the sanitizers see ends the run with their report.
//
//   fuzz_replay_<name> [--entry NAME --floor N] FOLDER...
//
// The target's reader sources are built into this program with block tracing and function-entry
// hooks (see CMakeLists.txt). With --entry the run also checks that the inputs reached the
// reader: it fails unless a function named NAME was entered and at least N distinct blocks of
// the reader's sources ran.

#include <QDir>
#include <QFile>

#include <dlfcn.h>

#include <cxxabi.h>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// A set of addresses that the hooks fill without allocating or locking: they run on any
// thread, and before main.
template <size_t kSlots>
class AddressSet {
public:
    __attribute__((no_instrument_function)) void Insert(uintptr_t address) {
        size_t at = ((address * 0x9E3779B97F4A7C15ull) >> 32) % kSlots;
        for (size_t probes = 0; probes < kSlots; ++probes) {
            uintptr_t seen = 0;
            if (m_slots[at].compare_exchange_strong(seen, address, std::memory_order_relaxed) ||
                seen == address)
                return;
            at = (at + 1) % kSlots;
        }
        m_full.store(true, std::memory_order_relaxed);
    }
    size_t Count() const {
        size_t n = 0;
        for (const std::atomic<uintptr_t>& slot : m_slots)
            n += slot.load(std::memory_order_relaxed) != 0;
        return n;
    }
    bool Full() const { return m_full.load(std::memory_order_relaxed); }
    template <typename F>
    void ForEach(F&& f) const {
        for (const std::atomic<uintptr_t>& slot : m_slots)
            if (const uintptr_t address = slot.load(std::memory_order_relaxed))
                f(address);
    }

private:
    std::atomic<uintptr_t> m_slots[kSlots] = {};
    std::atomic<bool> m_full{false};
};

AddressSet<1 << 18> g_blocks;
AddressSet<1 << 14> g_functions;

// The demangled name of the function that starts at address, without its parameters.
std::string FunctionName(uintptr_t address) {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(address), &info) || !info.dli_sname ||
        reinterpret_cast<uintptr_t>(info.dli_saddr) != address)
        return {};
    int status = 0;
    char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
    std::string name = demangled ? demangled : info.dli_sname;
    std::free(demangled);
    return name.substr(0, name.find('('));
}

bool EntryReached(const std::string& entry) {
    bool reached = false;
    g_functions.ForEach(
        [&](uintptr_t address) { reached = reached || FunctionName(address) == entry; });
    return reached;
}

}  // namespace

extern "C" {
__attribute__((no_instrument_function)) void __sanitizer_cov_trace_pc() {
    g_blocks.Insert(reinterpret_cast<uintptr_t>(__builtin_return_address(0)));
}
__attribute__((no_instrument_function)) void __cyg_profile_func_enter(void* function, void*) {
    g_functions.Insert(reinterpret_cast<uintptr_t>(function));
}
__attribute__((no_instrument_function)) void __cyg_profile_func_exit(void*, void*) {}
}

int main(int argc, char** argv) {
    std::string entry;
    long floor = 0;
    int passed = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--entry") == 0 && i + 1 < argc) {
            entry = argv[++i];
            continue;
        }
        if (std::strcmp(argv[i], "--floor") == 0 && i + 1 < argc) {
            floor = std::strtol(argv[++i], nullptr, 10);
            continue;
        }
        const QDir folder(QString::fromLocal8Bit(argv[i]));
        const QStringList names = folder.entryList(QDir::Files, QDir::Name);
        if (names.isEmpty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const QString& name : names) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(name));
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                   static_cast<size_t>(bytes.size()));
            ++passed;
        }
    }
    std::printf("%d passed, 0 failed\n", passed);
    if (entry.empty())
        return 0;
    const size_t blocks = g_blocks.Count();
    const bool reached = EntryReached(entry);
    std::printf("reader blocks run: %zu (floor %ld); %s %s\n", blocks, floor, entry.c_str(),
                reached ? "entered" : "never entered");
    if (g_blocks.Full() || g_functions.Full()) {
        std::fprintf(stderr, "coverage tables full\n");
        return 1;
    }
    return reached && blocks >= static_cast<size_t>(floor) ? 0 : 1;
}
