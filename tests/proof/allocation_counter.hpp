// Counts heap allocations and says whose they are. Linked only into the
// zero-allocation test: it replaces the C library's malloc family and the
// global operator new/delete (or, under AddressSanitizer, which owns the heap
// then, installs the sanitizer's allocation hooks).
//
// An allocation counts for the driver while a request is inside NuvMain and
// not inside one of the outside components it calls: the host's message
// function, a card call, or the C library's file functions (wrapped at link
// time, see CMakeLists.txt). Those are counted apart, each on its own.
#pragma once

namespace rizuz::testing::allocations {

enum class Owner { Driver, HostLog, Card, FileLibrary };

struct Counts {
    unsigned driver = 0;
    unsigned hostLog = 0;
    unsigned card = 0;
    unsigned fileLibrary = 0;
};

// While one lives, allocations count (for the driver unless an Outside says otherwise).
class InDriver {
public:
    InDriver();
    ~InDriver();
    InDriver(const InDriver&) = delete;
    InDriver& operator=(const InDriver&) = delete;
};

// While one lives, allocations count for `owner` instead of the driver.
class Outside {
public:
    explicit Outside(Owner owner);
    ~Outside();
    Outside(const Outside&) = delete;
    Outside& operator=(const Outside&) = delete;

private:
    Owner previous_;
};

Counts Current();
void Reset();

}  // namespace rizuz::testing::allocations
