#include "allocation_counter.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace rizuz::testing::allocations {
namespace {

// Plain counters: the test runs on one thread, and nothing here may allocate.
int g_depth = 0;
Owner g_owner = Owner::Driver;
Counts g_counts;

}  // namespace

InDriver::InDriver() { ++g_depth; }
InDriver::~InDriver() { --g_depth; }

Outside::Outside(Owner owner) : previous_(g_owner) { g_owner = owner; }
Outside::~Outside() { g_owner = previous_; }

Counts Current() { return g_counts; }
void Reset() { g_counts = {}; }

void Count() {
    if (g_depth == 0) return;
    switch (g_owner) {
        case Owner::Driver: ++g_counts.driver; break;
        case Owner::HostLog: ++g_counts.hostLog; break;
        case Owner::Card: ++g_counts.card; break;
        case Owner::FileLibrary: ++g_counts.fileLibrary; break;
    }
}

}  // namespace rizuz::testing::allocations

using rizuz::testing::allocations::Count;

#if defined(__SANITIZE_ADDRESS__)

// AddressSanitizer owns the heap: it tells us through its hooks.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, std::size_t),
                                                         void (*freeHook)(const volatile void*));
namespace {
void OnMalloc(const volatile void*, std::size_t) { Count(); }
void OnFree(const volatile void*) {}
const int g_hooked = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
}  // namespace

#else

// The C library's own allocator under its internal names; every allocation
// of the process, operator new's included, passes through these replacements.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);

void* malloc(std::size_t size) noexcept {
    Count();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    Count();
    return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) noexcept {
    Count();
    return __libc_realloc(block, size);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** block, std::size_t alignment, std::size_t size) noexcept {
    Count();
    void* p = __libc_memalign(alignment, size);
    if (p == nullptr) return ENOMEM;
    *block = p;
    return 0;
}
void* valloc(std::size_t size) noexcept {
    Count();
    return __libc_memalign(static_cast<std::size_t>(sysconf(_SC_PAGESIZE)), size);
}
void* pvalloc(std::size_t size) noexcept {
    Count();
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return __libc_memalign(page, (size + page - 1) / page * page);
}
void free(void* block) noexcept { __libc_free(block); }
}  // extern "C"

// operator new and delete over the counted malloc and free.
void* operator new(std::size_t size) {
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    if (void* p = aligned_alloc(static_cast<std::size_t>(alignment), size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, std::align_val_t alignment) { return ::operator new(size, alignment); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { std::free(block); }

#endif
