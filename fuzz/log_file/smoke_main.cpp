// zx_add_fuzzer looks for the replay driver beside each harness; this one is shared.
#include "../smoke_main.cpp"
