// A zero-filled block reserved in address space only: pages are backed by
// memory when first touched, so a block of tens of gigabytes costs only the
// few pages a test touches.  Linux does this itself (mmap with
// MAP_NORESERVE); Windows commits reserved memory only on request, so there
// a handler commits each page of the block at its first touch.
#ifndef GRIDMEX_RESERVED_MEMORY_H
#define GRIDMEX_RESERVED_MEMORY_H

#include <cstddef>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace testing_support {

class ReservedMemory {
public:
    explicit ReservedMemory(std::size_t bytes) : bytes_(bytes) {
#if defined(_WIN32)
        data_ = static_cast<char *>(VirtualAlloc(nullptr, bytes, MEM_RESERVE, PAGE_NOACCESS));
        if (!data_) return;
        block() = this;
        handler_ = AddVectoredExceptionHandler(1, commitOnTouch);
#else
        void *p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        data_ = p == MAP_FAILED ? nullptr : static_cast<char *>(p);
#endif
    }
    ~ReservedMemory() {
        if (!data_) return;
#if defined(_WIN32)
        RemoveVectoredExceptionHandler(handler_);
        block() = nullptr;
        VirtualFree(data_, 0, MEM_RELEASE);
#else
        munmap(data_, bytes_);
#endif
    }
    ReservedMemory(const ReservedMemory &) = delete;
    ReservedMemory &operator=(const ReservedMemory &) = delete;

    // nullptr when the address space could not be reserved.
    void *data() const { return data_; }

private:
#if defined(_WIN32)
    // The block whose pages the handler commits (one at a time).
    static ReservedMemory *&block() {
        static ReservedMemory *current = nullptr;
        return current;
    }
    static LONG CALLBACK commitOnTouch(EXCEPTION_POINTERS *e) {
        const EXCEPTION_RECORD *r = e->ExceptionRecord;
        const ReservedMemory *b = block();
        if (!b || r->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || r->NumberParameters < 2) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        char *at = reinterpret_cast<char *>(r->ExceptionInformation[1]);
        if (at < b->data_ || at >= b->data_ + b->bytes_) return EXCEPTION_CONTINUE_SEARCH;
        return VirtualAlloc(at, 1, MEM_COMMIT, PAGE_READWRITE) ? EXCEPTION_CONTINUE_EXECUTION
                                                               : EXCEPTION_CONTINUE_SEARCH;
    }
    void *handler_ = nullptr;
#endif
    std::size_t bytes_;
    char *data_ = nullptr;
};

}  // namespace testing_support

#endif
