// Under the sanitizer build: fontconfig keeps caches it never frees, which
// the leak checker would report at the end of every test that loads fonts.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
