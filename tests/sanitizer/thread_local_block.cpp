// A library loaded at run time, as an image plugin's decoder is: its thread-local data lives in a
// block that the C library allocates with malloc the first time a thread touches it.
namespace {
thread_local void* held = nullptr;
}

extern "C" __attribute__((visibility("default"))) void** heldBlock() {
    return &held;
}
