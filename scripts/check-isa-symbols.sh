#!/usr/bin/env bash
# Checks the rule of src/gdi/simd_kernel.h on built objects: a file compiled for an instruction set
# (*_sse2, *_avx2) defines no weak symbol (an inline function or template instance the linker
# could keep for plain callers too), and nothing with external linkage outside its instruction
# set's namespace (vte::simd_sse2, vte::simd_avx2). Other objects given are passed over.
# Usage: scripts/check-isa-symbols.sh OBJECT...
# Prints each offending symbol; exits non-zero on any, or when no such object was given.
set -euo pipefail

checked=0
status=0
for object in "$@"; do
  case "$(basename "$object")" in
    *_sse2.cpp.o | *_sse2.o) isa=simd_sse2 ;;
    *_avx2.cpp.o | *_avx2.o) isa=simd_avx2 ;;
    *) continue ;;
  esac
  checked=$((checked + 1))
  # Mangled names of vte::simd_avx2::... contain 3vte9simd_avx2.
  namespace="3vte${#isa}${isa}"
  while read -r _ type name; do
    case "$type" in
      W | V | u)
        echo "$object: weak symbol $(c++filt "$name")"
        status=1
        ;;
      *)
        if [[ "$name" != *"$namespace"* ]]; then
          echo "$object: $(c++filt "$name") has external linkage outside vte::$isa"
          status=1
        fi
        ;;
    esac
  done < <(nm --defined-only --extern-only "$object")
done

if ((checked == 0)); then
  echo "no *_sse2 or *_avx2 object among the arguments"
  exit 1
fi
if ((status == 0)); then echo "$checked objects compiled for an instruction set keep to their namespaces"; fi
exit $status
