// The lane wrappers of one vector width, written once for both: gdi/simd_kernel.h includes this
// file for 128-bit vectors and gdi/simd_avx2.h again for 256-bit ones, with VTE_LANES_VEC the
// vector type, VTE_LANES_OP(name) that width's intrinsic (_mm_name / _mm256_name) and
// VTE_LANES_SI(name) its whole-register form (_mm_name_si128 / _mm256_name_si256). No include
// guard on purpose. Operations that work within 128-bit halves (unpack, pack) do so at 256 bits
// too, as their intrinsics do. Internal linkage: see gdi/simd_kernel.h.
#if !defined(VTE_LANES_VEC) || !defined(VTE_LANES_OP) || !defined(VTE_LANES_SI)
#error "gdi/simd_lanes.h is included by gdi/simd_kernel.h and gdi/simd_avx2.h only"
#endif

namespace vte::VTE_SIMD_NAMESPACE {
namespace {

template <> inline VTE_LANES_VEC LoadU<VTE_LANES_VEC>(const void* P) {
  return VTE_LANES_SI(loadu)(static_cast<const VTE_LANES_VEC*>(P));
}
template <> inline VTE_LANES_VEC LoadA<VTE_LANES_VEC>(const void* P) {
  return VTE_LANES_SI(load)(static_cast<const VTE_LANES_VEC*>(P));
}
inline void StoreU(void* P, VTE_LANES_VEC A) { VTE_LANES_SI(storeu)(static_cast<VTE_LANES_VEC*>(P), A); }
inline void StoreA(void* P, VTE_LANES_VEC A) { VTE_LANES_SI(store)(static_cast<VTE_LANES_VEC*>(P), A); }

template <> inline VTE_LANES_VEC Zero<VTE_LANES_VEC>() { return VTE_LANES_SI(setzero)(); }
template <> inline VTE_LANES_VEC Broadcast8<VTE_LANES_VEC>(int X) {
  return VTE_LANES_OP(set1_epi8)(static_cast<char>(X));
}
template <> inline VTE_LANES_VEC Broadcast16<VTE_LANES_VEC>(int X) {
  return VTE_LANES_OP(set1_epi16)(static_cast<short>(X));
}
template <> inline VTE_LANES_VEC Broadcast32<VTE_LANES_VEC>(int X) { return VTE_LANES_OP(set1_epi32)(X); }

inline VTE_LANES_VEC And(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_SI(and)(A, B); }
inline VTE_LANES_VEC Or(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_SI(or)(A, B); }
// NOT A, AND B.
inline VTE_LANES_VEC AndNot(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_SI(andnot)(A, B); }

inline VTE_LANES_VEC Add16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(add_epi16)(A, B); }
inline VTE_LANES_VEC Sub16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(sub_epi16)(A, B); }
inline VTE_LANES_VEC Add32(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(add_epi32)(A, B); }
inline VTE_LANES_VEC Sub32(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(sub_epi32)(A, B); }
inline VTE_LANES_VEC Mullo16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(mullo_epi16)(A, B); }
// The high 16 bits of the unsigned 32-bit products.
inline VTE_LANES_VEC MulhiU16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(mulhi_epu16)(A, B); }
// Unsigned bytes, saturating at 255 / at 0.
inline VTE_LANES_VEC AddsU8(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(adds_epu8)(A, B); }
inline VTE_LANES_VEC SubsU8(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(subs_epu8)(A, B); }
inline VTE_LANES_VEC MinU8(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(min_epu8)(A, B); }
inline VTE_LANES_VEC MaxU8(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(max_epu8)(A, B); }
// Signed 16-bit lanes.
inline VTE_LANES_VEC Min16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(min_epi16)(A, B); }
inline VTE_LANES_VEC Max16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(max_epi16)(A, B); }

template <int N> inline VTE_LANES_VEC Srli16(VTE_LANES_VEC A) { return VTE_LANES_OP(srli_epi16)(A, N); }
template <int N> inline VTE_LANES_VEC Slli16(VTE_LANES_VEC A) { return VTE_LANES_OP(slli_epi16)(A, N); }
inline VTE_LANES_VEC Srl16(VTE_LANES_VEC A, TShift N) { return VTE_LANES_OP(srl_epi16)(A, N); }
inline VTE_LANES_VEC Sll16(VTE_LANES_VEC A, TShift N) { return VTE_LANES_OP(sll_epi16)(A, N); }
inline VTE_LANES_VEC Sra16(VTE_LANES_VEC A, TShift N) { return VTE_LANES_OP(sra_epi16)(A, N); }
inline VTE_LANES_VEC Srl32(VTE_LANES_VEC A, TShift N) { return VTE_LANES_OP(srl_epi32)(A, N); }
inline VTE_LANES_VEC Sll32(VTE_LANES_VEC A, TShift N) { return VTE_LANES_OP(sll_epi32)(A, N); }

inline VTE_LANES_VEC CmpEq8(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(cmpeq_epi8)(A, B); }
inline VTE_LANES_VEC CmpEq16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(cmpeq_epi16)(A, B); }
inline VTE_LANES_VEC CmpEq32(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(cmpeq_epi32)(A, B); }
// Whether every byte / any byte has its top bit set (all ones / not all zeros for compare results).
inline bool AllBytesSet(VTE_LANES_VEC A) {
  return VTE_LANES_OP(movemask_epi8)(A) == static_cast<int>((std::uint64_t{1} << sizeof(A)) - 1);
}
inline bool AnyByteSet(VTE_LANES_VEC A) { return VTE_LANES_OP(movemask_epi8)(A) != 0; }

// Within each 128-bit half: the low / high eight bytes of A and B interleaved.
inline VTE_LANES_VEC UnpackLo8(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(unpacklo_epi8)(A, B); }
inline VTE_LANES_VEC UnpackHi8(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(unpackhi_epi8)(A, B); }
inline VTE_LANES_VEC UnpackLo16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(unpacklo_epi16)(A, B); }
// Within each 128-bit half: the 16-bit lanes of A, then of B, as unsigned saturated bytes.
inline VTE_LANES_VEC PackUs16(VTE_LANES_VEC A, VTE_LANES_VEC B) { return VTE_LANES_OP(packus_epi16)(A, B); }

// The lanes of Bytes (1, 2 or 4) bytes.
template <int Bytes> inline VTE_LANES_VEC CmpEqLanes(VTE_LANES_VEC A, VTE_LANES_VEC B) {
  if constexpr (Bytes == 1) return CmpEq8(A, B);
  else if constexpr (Bytes == 2) return CmpEq16(A, B);
  else return CmpEq32(A, B);
}

}  // namespace
}  // namespace vte::VTE_SIMD_NAMESPACE
