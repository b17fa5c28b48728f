// A module that exports something, but not the driver entry.
extern "C" __attribute__((visibility("default"))) int ReelmarkSomethingElse() {
    return 1;
}
