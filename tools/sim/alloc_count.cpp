#include "sim/alloc_count.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>

namespace {
std::atomic<bool> counting{false};
std::atomic<long> counted{0};
}  // namespace

#if defined(__GLIBC__) && !defined(ZARVOX_SANITIZE)

// glibc's own allocator (other C libraries, and the sanitizers, count
// nothing) behind the replaced entry points. operator new ends
// in malloc, so counting here counts both.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void __libc_free(void* p);

void* malloc(size_t size) {
    if (counting.load(std::memory_order_relaxed)) counted.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    if (counting.load(std::memory_order_relaxed)) counted.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    if (counting.load(std::memory_order_relaxed)) counted.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
void free(void* p) {
    __libc_free(p);
}
}

bool allocation_counting_available() {
    return true;
}

#else

bool allocation_counting_available() {
    return false;
}

#endif

void set_allocation_counting(bool on) {
    counting.store(on);
}

long allocations_counted() {
    return counted.load();
}
