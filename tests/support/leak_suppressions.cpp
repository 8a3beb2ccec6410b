// Tests that open SDL on a real X server load the desktop bus library, which
// keeps an allocation until the process ends. It is not ours, so the leak
// checker of sanitizer builds leaves it out; our own code is still checked.
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
