#pragma once
/* quorvex: three numeric routines exported by name from libquorvex.
 * The editor declares them for programs that load the library; it calls none. */

#include <stdint.h>

#if defined(QUORVEX_BUILDING)
#define QUORVEX_EXPORT __attribute__((visibility("default")))
#else
#define QUORVEX_EXPORT
#endif

/* Byte offsets in the two-dimensional array descriptor that ADDARRAY reads
 * (all other bytes are ignored). The fields at 24, 32 and 36 are 32-bit
 * little-endian integers; the element pointer at 0 is pointer-sized. */
enum {
    QUORVEX_DESC_DATA = 0,    /* int32_t*: the first element */
    QUORVEX_DESC_LBOUND1 = 24, /* lower bound of the first index */
    QUORVEX_DESC_COUNT1 = 32,  /* elements along the first index (row stride) */
    QUORVEX_DESC_LBOUND2 = 36, /* lower bound of the second index */
    QUORVEX_DESC_SIZE = 40
};

#ifdef __cplusplus
extern "C" {
#endif

/* x + 1, wrapping from 2147483647 to -2147483648. */
QUORVEX_EXPORT int32_t ADDONE(int32_t x);
/* x + 1 on its own copy of x, wrapping; the caller's variable is unchanged. */
QUORVEX_EXPORT int32_t INCR32(int32_t x);
/* A(i, j) += B(i, j) for i, j = 0..*n with 32-bit wrapping; nothing when *n < 0.
 * Element (i, j) lies at first + 4 * ((i - lbound1) + (j - lbound2) * count1).
 * *n is read again before each row. Nothing is checked: the arrays must cover
 * 0..*n in both indices. */
QUORVEX_EXPORT void ADDARRAY(const void* a, const void* b, const int16_t* n);

#ifdef __cplusplus
}
#endif
