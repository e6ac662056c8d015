// Linked into every test of a ThreadSanitizer build. Qt is not built for the
// checker: what it allocates, frees and hands between threads inside its own
// code is ordered by futexes the checker cannot see, so only accesses made
// from our instrumented code are checked.
extern "C" const char *__tsan_default_options()
{
    return "ignore_noninstrumented_modules=1";
}
