#!/usr/bin/env bash
# Dependencies point one way: a folder of src/ includes headers of its own folder and of the
# folders below it, never of one above. From the bottom:
#   gdi < pixel < render < engine < app < effects < container < editors < demo, tools
# (demo/ and tools/ are top-level folders, above everything). tests/ and bench/ are not checked.
# Prints every upward include as file:line and exits non-zero when there is one, or when a folder
# of src/ is missing from the order above.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(gdi pixel render engine app effects container editors)
# The rank of a folder, or nothing when it is not a layer. demo and tools share the top rank.
rank() {
  local i
  for i in "${!layers[@]}"; do
    if [[ "${layers[$i]}" == "$1" ]]; then
      echo "$i"
      return
    fi
  done
  if [[ "$1" == demo || "$1" == tools ]]; then echo "${#layers[@]}"; fi
}

status=0
roots=()
for dir in src/*/; do
  layer=$(basename "$dir")
  if [[ -z "$(rank "$layer")" ]]; then
    echo "src/$layer: not in the layer order of $0"
    status=1
  fi
  roots+=("$dir")
done
for top in demo tools; do
  if [[ -d "$top" ]]; then roots+=("$top/"); fi
done

# One pass over the include lines (file:line:text), knowing every file of the checked folders so
# that paths relative to the including file can be resolved.
files=$(find "${roots[@]}" -type f | sed 's#//*#/#g')
hits=$(grep -rnE --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' \
  '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<][^">]+[">]' "${roots[@]}" | sed 's#//*#/#g' | sort -t: -k1,1 -k2,2n)
if ! awk -v order="${layers[*]}" -v files="$files" '
  BEGIN {
    n = split(order, names, " ")
    for (i = 1; i <= n; ++i) rank[names[i]] = i
    rank["demo"] = rank["tools"] = n + 1
    m = split(files, list, "\n")
    for (i = 1; i <= m; ++i) exists[list[i]] = 1
    bad = 0
  }
  # The layer of a path relative to the repository, or "".
  function layer_of(path, parts) {
    split(path, parts, "/")
    if (parts[1] == "src") return parts[2]
    if (parts[1] == "demo" || parts[1] == "tools") return parts[1]
    return ""
  }
  # Path with "." and ".." folded.
  function normal(path, parts, out, k, i, n, result) {
    n = split(path, parts, "/")
    k = 0
    for (i = 1; i <= n; ++i) {
      if (parts[i] == "." || parts[i] == "") continue
      if (parts[i] == ".." && k > 0) { --k; continue }
      out[++k] = parts[i]
    }
    result = out[1]
    for (i = 2; i <= k; ++i) result = result "/" out[i]
    return result
  }
  {
    file = $0; sub(/:.*/, "", file)
    rest = substr($0, length(file) + 2)
    line = rest; sub(/:.*/, "", line)
    text = substr(rest, length(line) + 2)
    included = text
    sub(/^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]/, "", included)
    sub(/[">].*/, "", included)
    own = layer_of(file)
    first = included; sub(/\/.*/, "", first)
    # Include-root paths name their folder first ("pixel/wipe_band.h"); other paths are taken
    # relative to the including file ("../pixel/wipe_band.h", "helper.h").
    theirs = ""
    if (index(included, "/") && (first in rank)) {
      theirs = first
    } else {
      dir = file; sub(/\/[^\/]*$/, "", dir)
      resolved = normal(dir "/" included)
      if (resolved in exists) theirs = layer_of(resolved)
    }
    if (theirs != "" && (theirs in rank) && (own in rank) && rank[theirs] > rank[own]) {
      printf "%s:%s: %s includes %s, from %s above it\n", file, line, own, included, theirs
      bad = 1
    }
  }
  END { exit bad }
' <<<"$hits"; then
  status=1
fi

if ((status == 0)); then echo "layers: no upward include"; fi
exit $status
