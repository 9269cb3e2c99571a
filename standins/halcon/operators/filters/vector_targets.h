// Which x86 vector paths the filters compile, and the target attribute of their AVX-512
// functions: one place, so that files with only a vector path need not see the kernels.
#ifndef QUORVEX_STANDINS_HALCON_VECTOR_TARGETS_H
#define QUORVEX_STANDINS_HALCON_VECTOR_TARGETS_H

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUORVEX_KERNELS_AVX2 1
#else
#define QUORVEX_KERNELS_AVX2 0
#endif

#define QUORVEX_AVX512 "avx512f,avx512bw,avx512vl,avx512dq"

#endif
