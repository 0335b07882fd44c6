#!/usr/bin/env bash
# Draws every picture of the program's skin with ImageMagick, at one display scale or at all of them:
# the main window background, the dark dialog backgrounds, the title discs, the button faces and the
# pieces of the list header and scroll bars (and, with the 100 % set, the application icon).
#
#   bash res/make_art.sh          every scale: 100, 125, 150, 175 and 200 %
#   bash res/make_art.sh 150      one scale
#
# Each scale is the same art drawn at more pixels: every size, position, radius, line width and font
# size is the 100 % one times the scale, so nothing is stretched. The 100 % set is the program's
# original look, pixel for pixel.
#
# The results are committed: a build never runs this. Rerun it (from anywhere) after changing it and
# commit what it writes. Pictures are PNG, 8 bits per channel, without gamma, colour or time chunks
# (no decoder alters a pixel), named art/<scale>/<resource number>_<what>.png; art/<scale>/README lists
# them with their sizes. art.rc embeds every set; skin/art_sets.h describes its resource numbers.
# The output is the same on every run: no randomness, no dates, fixed fonts given by path.
set -euo pipefail
cd "$(dirname "$0")"
magick=/usr/bin/convert
bold=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
regular=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
for f in "$magick" "$bold" "$regular"; do
  [ -e "$f" ] || { echo "make_art.sh: missing $f" >&2; exit 1; }
done
scales=(100 125 150 175 200)  # the sets, in the order of skin/art_sets.h

if [ $# -eq 0 ]; then
  for scale in "${scales[@]}"; do bash "$0" "$scale"; done
  exit 0
fi
S=$1
case " ${scales[*]} " in *" $S "*) ;; *) echo "make_art.sh: scale must be one of ${scales[*]}" >&2; exit 2 ;; esac
out=art/$S
mkdir -p "$out" icons
rm -f "$out"/*.png
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# ---------------------------------------------------------------------------------------------
# Scaling. The art is described in 100 % pixels; these turn a number into the scale's pixels.
#   s N   a size or the first pixel of a span: N x scale, rounded (half up)
#   e N   the last pixel of a span that ends at pixel N: one before s(N + 1), so spans stay joined
#   f X   a point in pixel-centre coordinates (lines, circle centres, strokes): (X + 1/2) x scale - 1/2
#   k X   a length that need not be whole (radii, stroke widths, blur, font size): X x scale
s() { echo $((($1 * S + 50) / 100)); }
e() { echo $(((($1 + 1) * S + 50) / 100 - 1)); }
f() { awk -v x="$1" -v s="$S" 'BEGIN{printf "%.4g\n", (x + 0.5) * s / 100 - 0.5}'; }
k() { awk -v x="$1" -v s="$S" 'BEGIN{printf "%.4g\n", x * s / 100}'; }
# rect X1 Y1 X2 Y2: the draw primitive filling pixels X1..X2, Y1..Y2 (100 % numbers, inclusive).
rect() { echo "rectangle $(s "$1"),$(s "$2") $(e "$3"),$(e "$4")"; }

# ---------------------------------------------------------------------------------------------
# Palette.
strip='#1d2d40'        # title strip and bottom band of the main window
strip_line='#3a7fc1'   # accent line under the title strip / over the bottom band
body='#dfe3e8'         # main window body
body_edge='#a9b3be'    # one-pixel edge down the sides of the body
caption='#22374f'      # section captions
rule_dark='#a4afbb'    # section rule, upper line
rule_light='#f7f8fa'   # section rule, lower line
dlg_top='#474e58'      # small dialogs: gradient from dark grey ...
dlg_bottom='#050608'   # ... to black

# Colour at fraction $3 of the way from $1 to $2 (both #rrggbb).
mix() {
  awk -v a="$1" -v b="$2" -v t="$3" 'function h(s,i){return index("0123456789abcdef",substr(tolower(s),i,1))-1}
    function c(s,i){return h(s,i)*16+h(s,i+1)}
    BEGIN{printf "#%02x%02x%02x\n", c(a,2)+(c(b,2)-c(a,2))*t+0.5, c(a,4)+(c(b,4)-c(a,4))*t+0.5, c(a,6)+(c(b,6)-c(a,6))*t+0.5}'
}
# Ground behind the buttons of the small dialogs: they sit in the lower part of the gradient.
dlg_button_ground=$(mix "$dlg_top" "$dlg_bottom" 0.82)

listing="$tmp/listing"
: >"$listing"

# save FROM NAME "what it shows": writes FROM as art/<scale>/NAME.png and lists it. Only the image
# chunks are written: no gAMA, cHRM, sRGB, iCCP, bKGD, tIME or text chunks.
ident() { /usr/bin/identify -format '%wx%h' "$1"; }
save() {
  local from=$1 name=$2 what=$3
  # Through an 8-bit BMP first: its writer rounds the drawing's 16-bit channels to 8 bits the way
  # the original bitmaps were made.
  "$magick" "$from" -alpha off -type TrueColor BMP3:"$tmp/8bit.bmp"
  "$magick" "$tmp/8bit.bmp" -strip -define png:exclude-chunks=all -define png:compression-level=9 \
    PNG24:"$out/$name.png"
  printf '%-44s %-9s %s\n' "$name.png" "$(ident "$out/$name.png")" "$what" >>"$listing"
}

# ---------------------------------------------------------------------------------------------
# Application icon: a dark rounded tile with a light disk stack, at 32 and 16 pixels. The system
# picks the icon's size itself, so it is drawn once, with the 100 % set.
if [ "$S" = 100 ]; then
  for size in 32 16; do
    "$magick" -size ${size}x${size} xc:none \
      -fill '#1f3a5a' -draw "roundrectangle 0,0 $((size-1)),$((size-1)) $((size/5)),$((size/5))" \
      -fill '#d8e4f0' -draw "rectangle $((size/4)),$((size/4)) $((size*3/4)),$((size*3/8))" \
      -fill '#d8e4f0' -draw "rectangle $((size/4)),$((size*7/16)) $((size*3/4)),$((size*9/16))" \
      -fill '#7fc241' -draw "rectangle $((size/4)),$((size*5/8)) $((size*3/4)),$((size*3/4))" \
      "icons/icon-$size.png"
  done
  "$magick" icons/icon-32.png icons/icon-16.png icons/quorvel.ico
  rm icons/icon-32.png icons/icon-16.png
fi

# ---------------------------------------------------------------------------------------------
# Main window background, 430 x 599 at 100 %, stretched over the client area of the 287 x 344
# dialog-unit window: a dialog unit is 430/287 pixels across and 599/344 pixels down in the picture.
#   device list    14,44  179x61 du -> x 21..289, y 77..183 (its scroll bars to 303 and 197)
#   refresh        211,44          -> x 316, y 77;  configuration y 111
#   LAN panel      combo at y 145  -> y 252 ... gateway field to y 206 du -> 359
#   apply          211,180         -> y 313
#   share list     14,236 157x61   -> x 21..256, y 411..517 (scroll bars to 270 and 531)
#   drive letters  label 195,235   -> x 292, y 409; connect y 461, disconnect y 496
#   about, exit    133/211,324     -> x 199 / 316, y 564..592
#   title discs    258/271,3       -> x 387 / 406, y 5
# The window's region cuts the corners by up to five pixels and leaves row 0 out: nothing but
# flat colour lies there. The title strip is flat where the discs sit, the body flat where the
# body buttons sit and the band flat where about and exit sit, so the faces' corners match.
W=430 H=599
strip_bottom=43      # last row of the title strip
band_top=550         # first row of the bottom band
main="$tmp/main.png"

# section CAPTION BASELINE: caption text with a small accent bar, and a rule under it.
section_draw=()
section() {
  local text=$1 base=$2
  section_draw+=(
    -fill "$strip_line" -draw "$(rect 21 $((base-10)) 23 "$base")"
    -font "$bold" -pointsize "$(k 13)" -fill "$caption" -annotate +"$(s 29)"+"$(s "$base")" "$text"
    -fill "$rule_dark" -draw "$(rect 21 $((base+6)) 416 $((base+6)))"
    -fill "$rule_light" -draw "$(rect 21 $((base+7)) 416 $((base+7)))"
  )
}
section "Network Storage Device" 64
section "LAN" 231
section "Drive Mapping" 390

# The logo: a stack of three disk slabs, each with a lamp, left in the title strip.
logo="$tmp/logo.png"
slab_w=$(s 26) slab_h=$(s 7)
"$magick" -size "$(s 30)x$(s 30)" xc:none \
  \( -size ${slab_w}x${slab_h} gradient:'#eef4fa-#a9bdd2' \
     \( -size ${slab_w}x${slab_h} xc:black -fill white \
        -draw "roundrectangle 0,0 $((slab_w-1)),$((slab_h-1)) $(k 2),$(k 2)" \) \
     -alpha off -compose CopyOpacity -composite \
     -fill '#7f94ab' -draw "$(rect 3 6 22 6)" -write mpr:slab +delete \) \
  -compose Over \
  mpr:slab -geometry +"$(s 2)"+"$(s 2)"  -composite \
  mpr:slab -geometry +"$(s 2)"+"$(s 11)" -composite \
  mpr:slab -geometry +"$(s 2)"+"$(s 20)" -composite \
  -fill '#7fd04b' -draw "$(rect 21 4 23 5)" \
  -fill '#7fd04b' -draw "$(rect 21 13 23 14)" \
  -fill '#5fb4ff' -draw "$(rect 21 22 23 23)" \
  -fill '#52677f' -draw "$(rect 5 4 14 4)" -draw "$(rect 5 13 14 13)" -draw "$(rect 5 22 14 22)" \
  "$logo"

"$magick" -size "$(s $W)x$(s $H)" xc:"$body" \
  -fill "$strip" -draw "$(rect 0 0 $((W-1)) $strip_bottom)" \
  -fill "$strip_line" -draw "$(rect 0 $((strip_bottom+1)) $((W-1)) $((strip_bottom+2)))" \
  -fill "$strip" -draw "$(rect 0 $band_top $((W-1)) $((H-1)))" \
  -fill "$strip_line" -draw "$(rect 0 $band_top $((W-1)) $((band_top+1)))" \
  -fill "$body_edge" -draw "$(rect 0 $((strip_bottom+3)) 0 $((band_top-1)))" \
  -draw "$(rect $((W-1)) $((strip_bottom+3)) $((W-1)) $((band_top-1)))" \
  "$logo" -geometry +"$(s 12)"+"$(s 7)" -compose Over -composite \
  -font "$bold" -pointsize "$(k 21)" -fill '#ffffff' -annotate +"$(s 48)"+"$(s 30)" 'Quorvel' \
  -font "$regular" -pointsize "$(k 11)" -fill '#9fb3c8' -annotate +"$(s 138)"+"$(s 30)" 'Network Storage Utility' \
  "${section_draw[@]}" \
  "$main"
save "$main" 267_main_background "main window: title strip with logo and name, three section captions, bottom band"

# ---------------------------------------------------------------------------------------------
# Dialog backgrounds: the same dark grey to black vertical gradient at each dialog's client size
# (they are stretched, or copied unscaled, over the client area).
dialog_bg() {
  local num=$1 w=$2 h=$3 name=$4 what=$5
  "$magick" -size "$(s "$w")x$(s "$h")" gradient:"$dlg_top-$dlg_bottom" "$tmp/dlg.png"
  save "$tmp/dlg.png" "${num}_${name}" "$what"
}
dialog_bg 268 366 135 about_background           "about box background, dark grey to black"
dialog_bg 269 515 205 widget_notice_background   "widget engine notice background, dark grey to black"
dialog_bg 270 248 119 drive_in_use_background    "drive-letter-in-use dialog background, dark grey to black"
dialog_bg 271 441 169 progress_background        "restart progress dialog background, dark grey to black"
dialog_bg 272 308 147 login_background           "login dialog background, dark grey to black"
dialog_bg 273 441 178 language_background        "language and warning dialogs background, dark grey to black"
dialog_bg 274 225 201 model_chooser_background   "model chooser background, dark grey to black"

# ---------------------------------------------------------------------------------------------
# Title discs, 16 x 16, on the flat title strip colour.
# disc FILE FILL RIM GLYPH(cross|bar)
disc() {
  local file=$1 fill=$2 rim=$3 glyph=$4 shade d c
  shade=$(mix "$fill" '#000000' 0.35)
  d=$(s 16) c=$(f 7.5)
  local g=()
  if [ "$glyph" = cross ]; then
    g=(-stroke white -strokewidth "$(k 1.7)" -draw "line $(f 5.0),$(f 5.0) $(f 10.0),$(f 10.0)"
       -draw "line $(f 10.0),$(f 5.0) $(f 5.0),$(f 10.0)")
  else
    g=(-fill white -draw "$(rect 4 7 11 8)")
  fi
  "$magick" -size ${d}x${d} xc:"$strip" \
    \( -size ${d}x${d} radial-gradient:"$fill-$shade" \) \
    \( -size ${d}x${d} xc:black -fill white -draw "circle $c,$c $c,$(f 0)" \) \
    -compose Over -composite \
    -fill none -stroke "$rim" -strokewidth "$(k 1)" -draw "circle $c,$c $c,$(f 0.5)" \
    "${g[@]}" "$file"
}
disc "$tmp/d.png" '#b83232' '#e06a6a' cross; save "$tmp/d.png" 262_close_normal   "close disc: dark red, white cross"
disc "$tmp/d.png" '#ff4a4a' '#ffb0b0' cross; save "$tmp/d.png" 378_close_active   "close disc, pressed and hovered: bright red, white cross"
disc "$tmp/d.png" '#808b98' '#b3bcc6' bar;   save "$tmp/d.png" 263_minimise_normal "minimise disc: grey, white bar"
disc "$tmp/d.png" '#3a95f0' '#9ccfff' bar;   save "$tmp/d.png" 379_minimise_active "minimise disc, pressed and hovered: blue, white bar"

# ---------------------------------------------------------------------------------------------
# Button faces. Every face is a rounded rectangle on the colour of the ground it sits on, with
# a white label. Styles:
#   dark     normal face: dark grey to black            glow     its down/over face: blue glow
#   rim      black with a light rim                     rimblue  its down face: blue, light rim
# face FILE W H GROUND STYLE LABEL [SHAPE_W SHAPE_H]  (shape drawn at the top left when smaller;
# all in 100 % pixels)
face() {
  local file=$1 w=$2 h=$3 ground=$4 style=$5 label=$6 sw=${7:-$2} sh=${8:-$3}
  local top bottom rim hi glow='' shadow r=5 size=12
  # A light rim where the ground is dark, a dark one where it is light.
  local dark_ground=0
  case "$ground" in "$body") ;; *) dark_ground=1 ;; esac
  case "$style" in
    dark)    top='#5c6571' bottom='#121519' hi='#7e8894' shadow='#000000'
             if [ $dark_ground = 1 ]; then rim='#6c7886'; else rim='#1a1f26'; fi ;;
    glow)    top='#3f93ea' bottom='#0d3a6d' hi='#b2dbff' shadow='#06213f' glow='#9ad6ff'
             if [ $dark_ground = 1 ]; then rim='#7cc0ff'; else rim='#0c386a'; fi ;;
    rim)     top='#262c33' bottom='#040506' hi='#3d454f' shadow='#000000' rim='#c6cfd9' ;;
    rimblue) top='#4fa0f2' bottom='#1553a0' hi='#a9d3fb' shadow='#0b3468' rim='#dce9f6' ;;
  esac
  if [ "$h" -ge 28 ]; then size=13; fi
  # The shape in the scale's pixels: its size, last pixel, corner radius and the inset of its outline.
  local W_=$(s "$sw") H_=$(s "$sh") rr in x2 y2
  rr=$(k $r) in=$(f 0)
  x2=$((W_-1)) y2=$((H_-1))
  local ox2 oy2
  ox2=$(awk -v a="$x2" -v b="$in" 'BEGIN{printf "%.4g\n", a - b}')
  oy2=$(awk -v a="$y2" -v b="$in" 'BEGIN{printf "%.4g\n", a - b}')
  local glow_layer=()
  if [ -n "$glow" ]; then
    # Blue light welling from the edge of the face towards its middle.
    glow_layer=(
      \( -size ${W_}x${H_} xc:none -fill none -stroke "$glow" -strokewidth "$(k 4)"
         -draw "roundrectangle 0,0 $x2,$y2 $rr,$rr" -blur 0x"$(k 2.5)" -channel A -evaluate multiply 0.75 +channel \)
      -compose Over -composite
      \( -size ${W_}x${H_} xc:black -fill white -draw "roundrectangle 0,0 $x2,$y2 $rr,$rr" \)
      -compose CopyOpacity -composite
    )
  fi
  "$magick" -size ${W_}x${H_} xc:"$ground" \
    \( -size ${W_}x${H_} gradient:"$top-$bottom" "${glow_layer[@]}" -background "$ground" -compose Over -flatten \) \
    \( -size ${W_}x${H_} xc:black -fill white -draw "roundrectangle 0,0 $x2,$y2 $rr,$rr" \) \
    -compose Over -composite \
    -fill none -stroke "$hi" -strokewidth "$(k 1)" -draw "line $(f $((r-1))),$(f 1) $(f $((sw-r))),$(f 1)" \
    -stroke "$rim" -draw "roundrectangle $in,$in $ox2,$oy2 $rr,$rr" -stroke none \
    -gravity center -font "$bold" -pointsize "$(k $size)" \
    -fill "$shadow" -annotate +0+"$(s 1)" "$label" \
    -fill white -annotate +0+0 "$label" \
    -gravity NorthWest -background "$ground" -extent "$(s "$w")x$(s "$h")" \
    "$file"
}

# pair NUMBER W H GROUND NORMAL/ACTIVE LABEL NAME WHERE [SHAPE_W SHAPE_H]: both faces of a button,
# the normal one at NUMBER and the pressed-and-hovered one at NUMBER+1.
pair() {
  local n=$1 w=$2 h=$3 ground=$4 styles=$5 label=$6 name=$7 where=$8 sw=${9:-$2} sh=${10:-$3}
  local s1=${styles%/*} s2=${styles#*/}
  face "$tmp/f.png" "$w" "$h" "$ground" "$s1" "$label" "$sw" "$sh"
  save "$tmp/f.png" "${n}_${name}_normal" "\"$label\" face, normal ($where)"
  face "$tmp/f.png" "$w" "$h" "$ground" "$s2" "$label" "$sw" "$sh"
  save "$tmp/f.png" "$((n+1))_${name}_active" "\"$label\" face, pressed and hovered ($where)"
}
pair 280 93 28 "$dlg_button_ground" rim/rimblue  "Download"      download      "widget engine notice"
pair 282 93 28 "$dlg_button_ground" rim/rimblue  "Next"          next          "widget engine notice"
pair 284 100 25 "$body"             dark/glow    "Refresh"       refresh       "main window"
pair 286 100 25 "$body"             dark/glow    "Configuration" configuration "main window"
pair 288 93 30 "$strip"             rim/rimblue  "Language"      language      "main window, hidden"
pair 290 93 28 "$strip"             rim/rimblue  "Bit Torrent"   bittorrent    "main window, hidden"
pair 292 100 25 "$strip"            dark/glow    "Widget"        widget        "not given to a button"
pair 294 100 25 "$body"             dark/glow    "Apply"         apply         "main window"
pair 296 100 25 "$body"             dark/glow    "Connect"       connect       "main window"
pair 298 100 25 "$body"             dark/glow    "Disconnect"    disconnect    "main window"
pair 300 100 25 "$strip"            dark/glow    "About"         about         "main window, bottom band"
pair 302 100 25 "$strip"            dark/glow    "Exit"          exit          "main window, bottom band"
pair 304 93 28 "$dlg_button_ground" rim/rimblue  "Cancel"        cancel        "small dialogs"
# OK sits beside Cancel on 62 x 16 dialog-unit buttons (93 pixels wide): its shape takes the
# left 93 of its 100 pixels, so the button does not cut off its right end.
pair 306 100 25 "$dlg_button_ground" dark/glow   "OK"            ok            "small dialogs" 93 25

# ---------------------------------------------------------------------------------------------
# List header: a light grey gradient strip and the column divider drawn over it.
hdr_top='#fbfcfd' hdr_bottom='#cfd6de'
"$magick" -size "$(s 1)x$(s 17)" gradient:"$hdr_top-$hdr_bottom" "$tmp/h.png"
save "$tmp/h.png" 374_header_strip "header background strip, light grey gradient"
"$magick" -size "$(s 12)x$(s 17)" gradient:"$hdr_top-$hdr_bottom" \
  -fill '#95a2b0' -draw "$(rect 1 3 1 13)" \
  -fill '#ffffff' -draw "$(rect 2 3 2 13)" "$tmp/h.png"
save "$tmp/h.png" 240_header_divider "header column divider (the column edge is at x 2 at 100 %)"

# ---------------------------------------------------------------------------------------------
# Scroll bars, 14 pixels thick. The track strip is stretched along the bar; the arrows sit at
# its ends and the thumb rides on it, so both carry the track's colours at their corners.
# Active pieces are grey with a dark blue-grey glyph; the lighter set shows a list that
# cannot scroll.
track_edge='#bcc4ce' track_mid='#e4e8ed'
light_edge='#dde2e7' light_mid='#f3f5f7'
arrow_face_top='#f4f6f8' arrow_face_bottom='#c6ced8' arrow_border='#8593a3' arrow_glyph='#2f4660'
light_face_top='#fafbfc' light_face_bottom='#eceff2' light_border='#cdd4dc' light_glyph='#b4bec9'
thumb_a='#86a3c2' thumb_b='#4d6e93' thumb_border='#3b5878' grip_light='#d3e1ef' grip_dark='#35506e'

# Vertical track: one column pattern, the rows all alike. LENGTH in 100 % pixels.
vtrack() { # FILE LENGTH EDGE MID
  "$magick" -size "$(s 14)x$(s "$2")" xc:"$4" -fill "$3" -draw "$(rect 0 0 0 $(($2-1)))" \
    -draw "$(rect 13 0 13 $(($2-1)))" "$1"
}
htrack() { # FILE LENGTH EDGE MID
  "$magick" -size "$(s "$2")x$(s 14)" xc:"$4" -fill "$3" -draw "$(rect 0 0 $(($2-1)) 0)" \
    -draw "$(rect 0 13 $(($2-1)) 13)" "$1"
}
vtrack "$tmp/t.png" 2 "$track_edge" "$track_mid"; save "$tmp/t.png" 235_vscroll_track "vertical bar track strip"
vtrack "$tmp/t.png" 1 "$light_edge" "$light_mid"; save "$tmp/t.png" 384_vscroll_track_inactive "vertical bar track strip, lighter"
htrack "$tmp/t.png" 2 "$track_edge" "$track_mid"; save "$tmp/t.png" 232_hscroll_track "horizontal bar track strip"
htrack "$tmp/t.png" 1 "$light_edge" "$light_mid"; save "$tmp/t.png" 382_hscroll_track_inactive "horizontal bar track strip, lighter"

# rounded FILL|STROKE W H R: a rounded rectangle over the whole W x H picture (100 % numbers): the
# filled shape, or its outline one line width inside the edge.
rounded() {
  local kind=$1 w h r in
  w=$(s "$2") h=$(s "$3") r=$(k "$4") in=$(f 0)
  if [ "$kind" = fill ]; then
    echo "roundrectangle 0,0 $((w-1)),$((h-1)) $r,$r"
  else
    awk -v w="$w" -v h="$h" -v r="$r" -v i="$in" \
      'BEGIN{printf "roundrectangle %.4g,%.4g %.4g,%.4g %s,%s\n", i, i, w - 1 - i, h - 1 - i, r, r}'
  fi
}

# Arrow buttons: a small rounded key with a pixel triangle. Drawn pointing up at 14 x 16 for
# the vertical bar, flipped for down, turned to 16 x 14 for the horizontal bar.
# arrow FILE GROUND FACE_TOP FACE_BOTTOM BORDER GLYPH DIRECTION(up|down|left|right)
arrow() {
  local file=$1 ground=$2 ftop=$3 fbot=$4 border=$5 glyph=$6 dir=$7 turn=()
  case "$dir" in
    up)    turn=() ;;
    down)  turn=(-flip) ;;
    left)  turn=(-rotate -90) ;;
    right) turn=(-rotate 90) ;;
  esac
  local size="$(s 14)x$(s 16)"
  "$magick" -size "$size" xc:"$ground" \
    \( -size "$size" gradient:"$ftop-$fbot" \) \
    \( -size "$size" xc:black -fill white -draw "$(rounded fill 14 16 2)" \) \
    -compose Over -composite \
    -fill none -stroke "$border" -strokewidth "$(k 1)" -draw "$(rounded stroke 14 16 2)" -stroke none \
    -fill "$glyph" \
    -draw "$(rect 6 6 7 6)" -draw "$(rect 5 7 8 7)" -draw "$(rect 4 8 9 8)" -draw "$(rect 3 9 10 9)" \
    "${turn[@]}" "$file"
}
# arrow_in grey|light FILE DIRECTION: an arrow in the colours of a bar that can scroll, or the lighter ones.
arrow_in() {
  if [ "$1" = grey ]; then
    arrow "$2" "$track_edge" "$arrow_face_top" "$arrow_face_bottom" "$arrow_border" "$arrow_glyph" "$3"
  else
    arrow "$2" "$light_edge" "$light_face_top" "$light_face_bottom" "$light_border" "$light_glyph" "$3"
  fi
}
while read -r style dir name description; do
  arrow_in "$style" "$tmp/a.png" "$dir"
  save "$tmp/a.png" "$name" "$description"
done <<'ARROWS'
grey up 234_vscroll_up vertical bar up arrow, grey
grey down 237_vscroll_down vertical bar down arrow, grey
light up 383_vscroll_up_inactive vertical bar up arrow, lighter
light down 385_vscroll_down_inactive vertical bar down arrow, lighter
grey left 233_hscroll_left horizontal bar left arrow, grey
grey right 231_hscroll_right horizontal bar right arrow, grey
light left 380_hscroll_left_inactive horizontal bar left arrow, lighter
light right 381_hscroll_right_inactive horizontal bar right arrow, lighter
ARROWS

# Thumbs: a blue-grey rounded bar with three grip lines, on the track.
vtrack "$tmp/t.png" 26 "$track_edge" "$track_mid"
"$magick" "$tmp/t.png" \
  \( -size "$(s 26)x$(s 14)" gradient:"$thumb_a-$thumb_b" -rotate 90 -flop \) \
  \( -size "$(s 14)x$(s 26)" xc:black -fill white -draw "$(rounded fill 14 26 3)" \) \
  -compose Over -composite \
  -fill none -stroke "$thumb_border" -strokewidth "$(k 1)" -draw "$(rounded stroke 14 26 3)" -stroke none \
  -fill "$grip_light" -draw "$(rect 4 9 9 9)" -draw "$(rect 4 12 9 12)" -draw "$(rect 4 15 9 15)" \
  -fill "$grip_dark"  -draw "$(rect 4 10 9 10)" -draw "$(rect 4 13 9 13)" -draw "$(rect 4 16 9 16)" \
  "$tmp/th.png"
save "$tmp/th.png" 236_vscroll_thumb "vertical bar thumb"
htrack "$tmp/t.png" 26 "$track_edge" "$track_mid"
"$magick" "$tmp/t.png" \
  \( -size "$(s 26)x$(s 14)" gradient:"$thumb_a-$thumb_b" \) \
  \( -size "$(s 26)x$(s 14)" xc:black -fill white -draw "$(rounded fill 26 14 3)" \) \
  -compose Over -composite \
  -fill none -stroke "$thumb_border" -strokewidth "$(k 1)" -draw "$(rounded stroke 26 14 3)" -stroke none \
  -fill "$grip_light" -draw "$(rect 9 4 9 9)" -draw "$(rect 12 4 12 9)" -draw "$(rect 15 4 15 9)" \
  -fill "$grip_dark"  -draw "$(rect 10 4 10 9)" -draw "$(rect 13 4 13 9)" -draw "$(rect 16 4 16 9)" \
  "$tmp/th.png"
save "$tmp/th.png" 243_hscroll_thumb "horizontal bar thumb"

# ---------------------------------------------------------------------------------------------
{
  echo "Pictures of the skin at $S %, drawn by ../../make_art.sh (do not edit by hand; rerun the script)."
  echo "PNG, 8 bits per channel, no gamma or colour chunks. The number in each name is its picture number."
  echo
  sort -n "$listing"
} >"$out/README"

# The resource script of every set: picture N of set i (the order of \$scales) is resource N + 1000 i
# of type PNG (skin/art_sets.h).
{
  echo "// Every picture of the skin, one set per display scale; written by make_art.sh, do not edit."
  echo "// Picture N of the set at index i (100, 125, 150, 175, 200 %) is resource N + 1000 i of type PNG."
  for i in "${!scales[@]}"; do
    for png in art/"${scales[$i]}"/*.png; do
      [ -e "$png" ] || continue
      n=$(basename "$png"); n=${n%%_*}
      echo "$((n + 1000 * i)) PNG \"$png\""
    done
  done
} >art.rc
echo "make_art.sh: wrote $(ls "$out"/*.png | wc -l) pictures at $S %"
