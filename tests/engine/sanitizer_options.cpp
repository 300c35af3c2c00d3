// The engine tests provoke a record block that cannot be had. Under the sanitizers such a
// request must return null as it does in a normal build, instead of ending the test process.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
extern "C" const char* __tsan_default_options() { return "allocator_may_return_null=1"; }
