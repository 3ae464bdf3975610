// `value < floor ? floor : value`, bit for bit (a NaN value stays NaN, and a
// value equal to the floor is returned as it is, so -0.0 stays -0.0), without
// a branch.
//
// The race's effort floor is met and left again tick after tick by a horse
// with little left to give. Compilers for the desktop make this a single
// maxsd; WebAssembly has no scalar instruction with these exact semantics,
// so the ternary becomes a branch there, mispredicted at every crossing.
// f64x2.pmax is defined as exactly this ternary, lane by lane, and becomes a
// single maxpd.
#pragma once

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace trotix {

inline double AtLeast(double value, double floor) {
#if defined(__wasm_simd128__)
  return wasm_f64x2_extract_lane(wasm_f64x2_pmax(wasm_f64x2_splat(value), wasm_f64x2_splat(floor)), 0);
#else
  return value < floor ? floor : value;
#endif
}

}  // namespace trotix
