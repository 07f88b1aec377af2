// zx_add_fuzzer looks for the replay driver beside the harness; use the shared one.
#include "../smoke_main.cpp"
