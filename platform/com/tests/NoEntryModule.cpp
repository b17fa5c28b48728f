// A loadable module that is no server: it lacks DllGetClassObject and the registration entries.

extern "C" int NotAServer() {
    return 0;
}
