#!/usr/bin/env bash
# Renders the window's pictures from the SVG drawings in this directory.
#
# Needs the Debian packages librsvg2-bin (rsvg-convert) and imagemagick (convert,
# identify); installs them with apt-get when they are missing. The PNGs it makes are
# committed, so building the game never runs this script. Running it again gives
# byte-identical files.
#
#   brivana.svg         -> brivana-16/20/24/32/40.png, brivana-48.png (256 colours),
#                          brivana-64/128/256.png
#   pointer.svg         -> pointer.png (black, white and clear; tip at (5, 0))
#   next.svg            -> next-N.png, next-pressed-N.png, next-disabled-N.png
#   next-small.svg      -> next-16.png, next-pressed-16.png, next-disabled-16.png
#   exit.svg            -> exit-N.png        exit-small.svg  -> exit-16.png
#   clock.svg           -> clock-N.png       clock-small.svg -> clock-16.png
# where N is 32, 48, 64, 128 and 256: Windows draws the pictures at 32 pixels times the
# screen's scale, and takes the size nearest to that from the icon.
#
# Button pictures have at most 16 colours and a hard (on/off) transparency. The
# pressed picture is the face moved down and right by a thirty-second of its size (one
# pixel at 32) and darkened; the disabled one is the face in faded greys.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/ensure-packages.sh"
ensure_packages librsvg2-bin imagemagick

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$here"

# Written PNGs carry no time stamps or other metadata, and always have an alpha channel.
# 'save' takes convert's arguments with the output file last.
save() {
    local out=${*: -1}
    convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "PNG32:$out"
}

render() { # svg size out
    rsvg-convert -w "$2" -h "$2" "$1" -o "$3"
}

# Builds a palette image: the clear colour, the given colours, and for each "a/b" (or
# "a/a/b"...) the mean of those colours, for the anti-aliased edges where they meet.
palette() { # out colour-or-pair...
    local out=$1 entry
    local swatches=(xc:'rgba(0,0,0,0)')
    shift
    for entry in "$@"; do
        if [[ $entry == */* ]]; then
            local parts=() part
            IFS=/ read -r -a parts <<<"$entry"
            swatches+=("(")
            for part in "${parts[@]}"; do swatches+=(xc:"$part"); done
            swatches+=(-evaluate-sequence mean ")")
        else
            swatches+=(xc:"$entry")
        fi
    done
    convert -size 1x1 "${swatches[@]}" +append "PNG32:$out"
}

# Hard transparency, one colour for all clear pixels, then every pixel mapped to the
# nearest colour of the drawing's palette.
reduce() { # in palette out
    save "$1" -channel A -threshold 50% +channel \
        -background 'rgba(0,0,0,0)' -alpha background \
        -dither None -remap "$2" "$3"
}

# --- application icon ---------------------------------------------------------------
for size in 16 20 24 32 40 64 128 256; do
    render brivana.svg "$size" "$work/brivana-$size.png"
    save "$work/brivana-$size.png" "brivana-$size.png"
done
render brivana.svg 48 "$work/brivana-48.png"
save "$work/brivana-48.png" -dither None -colors 256 brivana-48.png

# --- mouse pointer --------------------------------------------------------------------
render pointer.svg 32 "$work/pointer.png"
save "$work/pointer.png" -channel A -threshold 50% +channel \
    -channel RGB -threshold 50% +channel \
    -background 'rgba(0,0,0,0)' -alpha background pointer.png

# --- button and clock pictures --------------------------------------------------------
navy='#12206B' white='#FFFFFF' red='#E8312A' yellow='#FFD21F'
palette "$work/next.pal.png" "$navy" "$white" "$red" '#2DB84F' '#B6F2A0' \
    "$navy/$white" "$navy/$navy/$white" "$navy/$red" "$navy/#2DB84F" "$red/$white" \
    '#2DB84F/#B6F2A0'
palette "$work/exit.pal.png" "$navy" "$white" '#FFE14D' '#B8652E' '#7FD45A' \
    "$navy/$white" "$navy/$navy/$white" "$navy/#FFE14D" "$navy/#B8652E"
palette "$work/clock.pal.png" "$navy" "$white" "$red" "$yellow" \
    "$navy/$white" "$navy/$navy/$white" "$navy/$red" "$navy/$yellow" "$red/$white"

picture_sizes=(32 16 48 64 128 256)
for size in "${picture_sizes[@]}"; do
    if [ "$size" = 16 ]; then variant="-small"; else variant=""; fi
    for name in next exit clock; do
        render "$name$variant.svg" "$size" "$work/$name-$size.png"
        reduce "$work/$name-$size.png" "$work/$name.pal.png" "$name-$size.png"
    done
    # Pressed: down and to the right (the drawings keep their last thirty-second clear
    # for this, so rolling loses nothing) and darker. Each colour maps to one colour, so
    # the count cannot grow.
    step=$(( size < 32 ? 1 : size / 32 ))
    save "next-$size.png" -roll +$step+$step -channel RGB -evaluate multiply 0.72 +channel \
        "next-pressed-$size.png"
    # Disabled: faded greys.
    save "next-$size.png" -colorspace Gray +level 35%,80% -colorspace sRGB \
        "next-disabled-$size.png"
done

# --- checks ---------------------------------------------------------------------------
fail() { echo "draw.sh: $*" >&2; exit 1; }
check() { # file width height most-colours
    local got
    got=$(identify -format '%w %h %k' "$1")
    read -r w h k <<<"$got"
    [ "$w x $h" = "$2 x $3" ] || fail "$1 is $w x $h, not $2 x $3"
    [ "$k" -le "$4" ] || fail "$1 has $k colours, more than $4"
}
check brivana-48.png 48 48 256
for size in 16 20 24 32 40 64 128 256; do check "brivana-$size.png" "$size" "$size" 16777216; done
check pointer.png 32 32 3
for size in "${picture_sizes[@]}"; do
    for name in next next-pressed next-disabled exit clock; do
        check "$name-$size.png" "$size" "$size" 16
    done
    step=$(( size < 32 ? 1 : size / 32 ))
    [ "$(convert next-$size.png -crop ${step}x${size}+$((size - step))+0 -alpha extract -format '%[fx:maxima]' info:)" = 0 ] \
        || fail "next-$size.png must keep its last columns clear"
    [ "$(convert next-$size.png -crop ${size}x${step}+0+$((size - step)) -alpha extract -format '%[fx:maxima]' info:)" = 0 ] \
        || fail "next-$size.png must keep its last rows clear"
done
# The three faces of the next button must differ from one another.
for size in "${picture_sizes[@]}"; do
    for pair in "next next-pressed" "next next-disabled" "next-pressed next-disabled"; do
        read -r a b <<<"$pair"
        [ "$(compare -metric AE "$a-$size.png" "$b-$size.png" null: 2>&1 || true)" != 0 ] \
            || fail "$a-$size.png and $b-$size.png are the same"
    done
done
# The pointer: only opaque black, opaque white and clear; the hot spot (5, 0) is the
# tip, the one pixel of row 0, and nothing lies left of column 5.
colours=$(convert pointer.png -format '%c' histogram:info: | sed -n 's/.*#\([0-9A-F]\{8\}\).*/\1/p' | sort | tr '\n' ' ')
case "$colours" in
    "00000000 000000FF FFFFFFFF ") ;;
    *) fail "pointer.png has colours $colours" ;;
esac
[ "$(convert pointer.png -format '%[fx:p{5,0}.a]' info:)" = 1 ] || fail "pointer.png: no tip at (5, 0)"
[ "$(convert pointer.png -crop 32x1+0+0 -alpha extract -format '%[fx:round(mean*w)]' info:)" = 1 ] \
    || fail "pointer.png: row 0 holds more than the tip"
[ "$(convert pointer.png -crop 5x32+0+0 -alpha extract -format '%[fx:maxima]' info:)" = 0 ] \
    || fail "pointer.png: pixels left of the tip"

identify -format '%f %wx%h %k colours\n' brivana-*.png pointer.png next*.png exit*.png clock*.png
