// The sanitizer settings every fuzz harness runs with, whoever starts it.
extern "C" const char* __asan_default_options();

// A freed block waits in a quarantine of 16 MB instead of 256 before it is used again: a use
// after free within the last 16 MB freed is still caught, and the allocator's memory stays
// in the cache instead of being released and faulted in again, which was half of a parser
// harness's time.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }
