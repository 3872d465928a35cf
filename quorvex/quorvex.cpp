#include "quorvex/quorvex.h"

#include <cstring>

namespace {

// Sums in unsigned arithmetic: wrap-around is defined there, and converting
// back to int32_t is modular.
int32_t wrappingAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Descriptor fields are read byte-wise: the caller's block need not be aligned.
int32_t descField(const void* desc, int offset)
{
    int32_t v;
    std::memcpy(&v, static_cast<const char*>(desc) + offset, sizeof v);
    return v;
}

// Address of element (i, j); the index is formed in 64 bits so it cannot overflow.
char* element(const void* desc, int32_t i, int32_t j)
{
    char* first;
    std::memcpy(&first, static_cast<const char*>(desc) + QUORVEX_DESC_DATA, sizeof first);
    const int64_t index = (int64_t{i} - descField(desc, QUORVEX_DESC_LBOUND1)) +
                          (int64_t{j} - descField(desc, QUORVEX_DESC_LBOUND2)) *
                              int64_t{descField(desc, QUORVEX_DESC_COUNT1)};
    return first + index * 4;
}

int16_t readCount(const int16_t* n)
{
    int16_t v;
    std::memcpy(&v, n, sizeof v);
    return v;
}

} // namespace

extern "C" {

int32_t ADDONE(int32_t x)
{
    return wrappingAdd(x, 1);
}

int32_t INCR32(int32_t x)
{
    x = wrappingAdd(x, 1);
    return x;
}

void ADDARRAY(const void* a, const void* b, const int16_t* n)
{
    // The outer limit is read once; each row reads n again, as the elements
    // written may share memory with n.
    const int32_t rows = readCount(n);
    for (int32_t i = 0; i <= rows; ++i) {
        const int32_t cols = readCount(n);
        for (int32_t j = 0; j <= cols; ++j) {
            int32_t bv, av;
            std::memcpy(&bv, element(b, i, j), 4);
            char* target = element(a, i, j);
            std::memcpy(&av, target, 4);
            const int32_t sum = wrappingAdd(bv, av);
            std::memcpy(target, &sum, 4);
        }
    }
}

} // extern "C"
