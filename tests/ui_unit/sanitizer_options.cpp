// The toolkit and fontconfig keep caches for the life of the process (QApplication's colour map,
// font tables), which the leak checker would report in every test that starts a QApplication.
// As for the scenarios, leaks are looked for in the logic's tests only; every other check of the
// sanitizers stays on here.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}
