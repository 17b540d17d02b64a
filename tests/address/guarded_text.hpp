// A writable text whose terminating NUL is the last readable byte before a page
// that may not be touched: code that reads past the end of the text faults at
// once, in every build and under qemu, not only under the sanitizers.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>

namespace rizuz::testing {

class GuardedText {
public:
    explicit GuardedText(const std::string& text) : page_(static_cast<std::size_t>(sysconf(_SC_PAGESIZE))) {
        if (text.size() >= page_) throw std::length_error("text longer than a page");
        void* mapped = mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped == MAP_FAILED) throw std::runtime_error("mmap failed");
        base_ = static_cast<char*>(mapped);
        if (mprotect(base_ + page_, page_, PROT_NONE) != 0) throw std::runtime_error("mprotect failed");
        text_ = base_ + page_ - text.size() - 1;
        std::memcpy(text_, text.c_str(), text.size() + 1);
    }
    ~GuardedText() { munmap(base_, 2 * page_); }
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    char* data() { return text_; }

private:
    std::size_t page_;
    char* base_ = nullptr;
    char* text_ = nullptr;
};

}  // namespace rizuz::testing
