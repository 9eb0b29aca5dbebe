// Every form of the global operator new and delete (plain, array, nothrow,
// aligned, sized), replaced by ones that count calls and live bytes.
#include "support/alloc_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_allocations{0};
std::atomic<size_t> g_live{0};
std::atomic<size_t> g_peak{0};

void* Allocate(std::size_t n, std::size_t alignment) {
    void* p = nullptr;
    if (alignment <= alignof(std::max_align_t)) {
        p = std::malloc(n ? n : 1);
    } else if (posix_memalign(&p, alignment, n ? n : 1) != 0) {
        p = nullptr;
    }
    if (!p) return nullptr;
    ++g_allocations;
    const size_t live = g_live += malloc_usable_size(p);
    size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return p;
}

void* AllocateOrThrow(std::size_t n, std::size_t alignment) {
    if (void* p = Allocate(n, alignment)) return p;
    throw std::bad_alloc();
}

void Release(void* p) noexcept {
    if (!p) return;
    g_live -= malloc_usable_size(p);
    std::free(p);
}

constexpr std::size_t kPlain = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t n) {
    return AllocateOrThrow(n, kPlain);
}
void* operator new[](std::size_t n) {
    return AllocateOrThrow(n, kPlain);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return Allocate(n, kPlain);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    return Allocate(n, kPlain);
}
void* operator new(std::size_t n, std::align_val_t a) {
    return AllocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a) {
    return AllocateOrThrow(n, static_cast<std::size_t>(a));
}
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return Allocate(n, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
    return Allocate(n, static_cast<std::size_t>(a));
}

void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    Release(p);
}
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept {
    Release(p);
}

namespace zor2::test {

long AllocationCount() {
    return g_allocations.load();
}

size_t LiveBytes() {
    return g_live.load();
}

size_t PeakBytes() {
    return g_peak.load();
}

void ResetPeakBytes() {
    g_peak = g_live.load();
}

}  // namespace zor2::test
