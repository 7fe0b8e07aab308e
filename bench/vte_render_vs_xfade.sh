#!/usr/bin/env bash
# vte-render next to FFmpeg's xfade filter for the same kind of transition, size and frame count:
# one second at 60 frames a second, 1920x1080, raw BGRA frames to /dev/null. CPU time (user +
# system) of each whole command, divided by its 61 frames; and the cost of a frame alone: the
# whole command less a command of two frames on the same pictures (start-up and picture decoding
# left out: a flicker-free cut for vte-render, the first two frames for FFmpeg), divided by the 59
# frames more. Needs ffmpeg (not a build dependency).
set -euo pipefail
render=${1:-build/default/tools/vte-render}
command -v ffmpeg >/dev/null || { echo "ffmpeg is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ffmpeg -nostdin -v error -f lavfi -i testsrc2=size=1920x1080 -frames:v 1 "$work/old.png"
ffmpeg -nostdin -v error -f lavfi -i mandelbrot=size=1920x1080 -frames:v 1 "$work/new.png"
cpu() {  # least CPU seconds (user + system) of three runs of a command
  local TIMEFORMAT='%U %S' t best=
  for _ in 1 2 3; do
    t=$( { time "$@" </dev/null >/dev/null 2>&1; } 2>&1 | awk '{print $1 + $2}')
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}
ours() { cpu "$render" --class "$class" Milliseconds=1000 $props "$work/old.png" "$work/new.png" --raw; }
ours_two() { cpu "$render" --class TFlickerFreeTransition "$work/old.png" "$work/new.png" --raw; }
theirs() {
  cpu ffmpeg -nostdin -v error -loop 1 -t 1 -i "$work/old.png" -loop 1 -t 1 -i "$work/new.png" \
    -filter_complex "[0][1]xfade=transition=$xfade:duration=1:offset=0,format=bgra" -frames:v "$1" \
    -f rawvideo -y /dev/null
}
ms() { echo "scale=3; $1 * 1000 / $2" | bc; }
echo "1920x1080, 61 frames (one second at 60/s), CPU ms per frame; $(date -u +%F), $(nproc) cores"
printf '%-6s %-36s %10s %10s %7s   %10s %10s %7s\n' kind "vte-render" whole xfade faster "frame" "xfade" faster
only=${2:-}
while read -r kind class props xfade; do
  [ -n "$only" ] && [ "$kind" != "$only" ] && continue
  [ "$props" = - ] && props= || props=${props//,/ }
  o61=$(ours); o2=$(ours_two); t61=$(theirs 61); t2=$(theirs 2)
  ow=$(ms "$o61" 61); tw=$(ms "$t61" 61)
  of=$(ms "$(echo "$o61 - $o2" | bc)" 59); tf=$(ms "$(echo "$t61 - $t2" | bc)" 59)
  printf '%-6s %-36s %10s %10s %6.1fx   %10s %10s %6.1fx\n' "$kind" "$class $props" "$ow" "$tw" \
    "$(echo "scale=2; $tw / $ow" | bc)" "$of" "$tf" "$(echo "scale=2; $tf / ($of + 0.001)" | bc)"
done <<'CASES'
fade TBlendTransition - fade
wipe TWipeTransition Direction=tedRight wiperight
slide TSlideTransition Direction=tedLeft slideleft
circle TCircleTransition Style=1,SubStyle=1 circleopen
radial TRadialTransition Style=1,SubStyle=1 radial
CASES
