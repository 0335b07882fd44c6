#!/usr/bin/env bash
# Draws every picture of the program's skin with ImageMagick: the application icon, the main
# window background, the dark dialog backgrounds, the title discs, the button faces and the
# pieces of the list header and scroll bars.
#
# The results are committed: a build never runs this. Rerun it (from anywhere) after changing
# it and commit what it writes:   bash res/make_art.sh
#
# All bitmaps are 24 bits per pixel, uncompressed (BMP3), named "<resource number>_<what>.bmp".
# The output is the same on every run: no randomness, no dates, fixed fonts given by path.
# bitmaps/README lists every bitmap with its size; the script writes it too.
set -euo pipefail
cd "$(dirname "$0")"
magick=/usr/bin/convert
bold=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
regular=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
for f in "$magick" "$bold" "$regular"; do
  [ -e "$f" ] || { echo "make_art.sh: missing $f" >&2; exit 1; }
done
mkdir -p bitmaps icons
rm -f bitmaps/*.bmp
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

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

# save FROM NAME "what it shows": writes FROM as bitmaps/NAME.bmp and lists it.
ident() { /usr/bin/identify -format '%wx%h' "$1"; }
save() {
  local from=$1 name=$2 what=$3
  "$magick" "$from" -alpha off -type TrueColor BMP3:"bitmaps/$name.bmp"
  printf '%-44s %-9s %s\n' "$name.bmp" "$(ident "bitmaps/$name.bmp")" "$what" >>"$listing"
}

# ---------------------------------------------------------------------------------------------
# Application icon: a dark rounded tile with a light disk stack, at 32 and 16 pixels.
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

# ---------------------------------------------------------------------------------------------
# Main window background, 430 x 599, stretched over the client area of the 287 x 344 dialog-unit
# window: a dialog unit is 430/287 pixels across and 599/344 pixels down in the picture.
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
    -fill "$strip_line" -draw "rectangle 21,$((base-10)) 23,$base"
    -font "$bold" -pointsize 13 -fill "$caption" -annotate +29+$base "$text"
    -fill "$rule_dark" -draw "rectangle 21,$((base+6)) 416,$((base+6))"
    -fill "$rule_light" -draw "rectangle 21,$((base+7)) 416,$((base+7))"
  )
}
section "Network Storage Device" 64
section "LAN" 231
section "Drive Mapping" 390

# The logo: a stack of three disk slabs, each with a lamp, left in the title strip.
logo="$tmp/logo.png"
"$magick" -size 30x30 xc:none \
  \( -size 26x7 gradient:'#eef4fa-#a9bdd2' \
     \( -size 26x7 xc:black -fill white -draw 'roundrectangle 0,0 25,6 2,2' \) \
     -alpha off -compose CopyOpacity -composite \
     -fill '#7f94ab' -draw 'line 3,6 22,6' -write mpr:slab +delete \) \
  -compose Over \
  mpr:slab -geometry +2+2  -composite \
  mpr:slab -geometry +2+11 -composite \
  mpr:slab -geometry +2+20 -composite \
  -fill '#7fd04b' -draw 'rectangle 21,4 23,5' \
  -fill '#7fd04b' -draw 'rectangle 21,13 23,14' \
  -fill '#5fb4ff' -draw 'rectangle 21,22 23,23' \
  -fill '#52677f' -draw 'rectangle 5,4 14,4' -draw 'rectangle 5,13 14,13' -draw 'rectangle 5,22 14,22' \
  "$logo"

"$magick" -size ${W}x${H} xc:"$body" \
  -fill "$strip" -draw "rectangle 0,0 $((W-1)),$strip_bottom" \
  -fill "$strip_line" -draw "rectangle 0,$((strip_bottom+1)) $((W-1)),$((strip_bottom+2))" \
  -fill "$strip" -draw "rectangle 0,$band_top $((W-1)),$((H-1))" \
  -fill "$strip_line" -draw "rectangle 0,$band_top $((W-1)),$((band_top+1))" \
  -fill "$body_edge" -draw "rectangle 0,$((strip_bottom+3)) 0,$((band_top-1))" \
  -draw "rectangle $((W-1)),$((strip_bottom+3)) $((W-1)),$((band_top-1))" \
  "$logo" -geometry +12+7 -compose Over -composite \
  -font "$bold" -pointsize 21 -fill '#ffffff' -annotate +48+30 'Quorvel' \
  -font "$regular" -pointsize 11 -fill '#9fb3c8' -annotate +138+30 'Network Storage Utility' \
  "${section_draw[@]}" \
  "$main"
save "$main" 267_main_background "main window: title strip with logo and name, three section captions, bottom band"

# ---------------------------------------------------------------------------------------------
# Dialog backgrounds: the same dark grey to black vertical gradient at each dialog's client size
# (they are stretched, or copied unscaled, over the client area).
dialog_bg() {
  local num=$1 w=$2 h=$3 name=$4 what=$5
  "$magick" -size ${w}x${h} gradient:"$dlg_top-$dlg_bottom" "$tmp/dlg.png"
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
  local file=$1 fill=$2 rim=$3 glyph=$4 shade
  shade=$(mix "$fill" '#000000' 0.35)
  local g=()
  if [ "$glyph" = cross ]; then
    g=(-stroke white -strokewidth 1.7 -draw 'line 5.0,5.0 10.0,10.0' -draw 'line 10.0,5.0 5.0,10.0')
  else
    g=(-fill white -draw 'rectangle 4,7 11,8')
  fi
  "$magick" -size 16x16 xc:"$strip" \
    \( -size 16x16 radial-gradient:"$fill-$shade" \) \
    \( -size 16x16 xc:black -fill white -draw 'circle 7.5,7.5 7.5,0' \) \
    -compose Over -composite \
    -fill none -stroke "$rim" -strokewidth 1 -draw 'circle 7.5,7.5 7.5,0.5' \
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
# face FILE W H GROUND STYLE LABEL [SHAPE_W SHAPE_H]  (shape drawn at the top left when smaller)
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
  local x2=$((sw-1)) y2=$((sh-1))
  local glow_layer=()
  if [ -n "$glow" ]; then
    # Blue light welling from the edge of the face towards its middle.
    glow_layer=(
      \( -size ${sw}x${sh} xc:none -fill none -stroke "$glow" -strokewidth 4
         -draw "roundrectangle 0,0 $x2,$y2 $r,$r" -blur 0x2.5 -channel A -evaluate multiply 0.75 +channel \)
      -compose Over -composite
      \( -size ${sw}x${sh} xc:black -fill white -draw "roundrectangle 0,0 $x2,$y2 $r,$r" \)
      -compose CopyOpacity -composite
    )
  fi
  "$magick" -size ${sw}x${sh} xc:"$ground" \
    \( -size ${sw}x${sh} gradient:"$top-$bottom" "${glow_layer[@]}" -background "$ground" -compose Over -flatten \) \
    \( -size ${sw}x${sh} xc:black -fill white -draw "roundrectangle 0,0 $x2,$y2 $r,$r" \) \
    -compose Over -composite \
    -fill none -stroke "$hi" -strokewidth 1 -draw "line $((r-1)),1 $((sw-r)),1" \
    -stroke "$rim" -draw "roundrectangle 0,0 $x2,$y2 $r,$r" -stroke none \
    -gravity center -font "$bold" -pointsize $size \
    -fill "$shadow" -annotate +0+1 "$label" \
    -fill white -annotate +0+0 "$label" \
    -gravity NorthWest -background "$ground" -extent ${w}x${h} \
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
"$magick" -size 1x17 gradient:"$hdr_top-$hdr_bottom" "$tmp/h.png"
save "$tmp/h.png" 374_header_strip "header background strip, light grey gradient"
"$magick" -size 12x17 gradient:"$hdr_top-$hdr_bottom" \
  -fill '#95a2b0' -draw 'rectangle 1,3 1,13' \
  -fill '#ffffff' -draw 'rectangle 2,3 2,13' "$tmp/h.png"
save "$tmp/h.png" 240_header_divider "header column divider (the column edge is at x 2)"

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

# Vertical track: one column pattern, the rows all alike.
vtrack() { # FILE HEIGHT EDGE MID
  "$magick" -size 14x$2 xc:"$4" -fill "$3" -draw "rectangle 0,0 0,$(($2-1))" -draw "rectangle 13,0 13,$(($2-1))" "$1"
}
htrack() { # FILE WIDTH EDGE MID
  "$magick" -size $2x14 xc:"$4" -fill "$3" -draw "rectangle 0,0 $(($2-1)),0" -draw "rectangle 0,13 $(($2-1)),13" "$1"
}
vtrack "$tmp/t.png" 2 "$track_edge" "$track_mid"; save "$tmp/t.png" 235_vscroll_track "vertical bar track strip"
vtrack "$tmp/t.png" 1 "$light_edge" "$light_mid"; save "$tmp/t.png" 384_vscroll_track_inactive "vertical bar track strip, lighter"
htrack "$tmp/t.png" 2 "$track_edge" "$track_mid"; save "$tmp/t.png" 232_hscroll_track "horizontal bar track strip"
htrack "$tmp/t.png" 1 "$light_edge" "$light_mid"; save "$tmp/t.png" 382_hscroll_track_inactive "horizontal bar track strip, lighter"

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
  "$magick" -size 14x16 xc:"$ground" \
    \( -size 14x16 gradient:"$ftop-$fbot" \) \
    \( -size 14x16 xc:black -fill white -draw 'roundrectangle 0,0 13,15 2,2' \) \
    -compose Over -composite \
    -fill none -stroke "$border" -strokewidth 1 -draw 'roundrectangle 0,0 13,15 2,2' -stroke none \
    -fill "$glyph" \
    -draw 'rectangle 6,6 7,6' -draw 'rectangle 5,7 8,7' -draw 'rectangle 4,8 9,8' -draw 'rectangle 3,9 10,9' \
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
  \( -size 26x14 gradient:"$thumb_a-$thumb_b" -rotate 90 -flop \) \
  \( -size 14x26 xc:black -fill white -draw 'roundrectangle 0,0 13,25 3,3' \) \
  -compose Over -composite \
  -fill none -stroke "$thumb_border" -strokewidth 1 -draw 'roundrectangle 0,0 13,25 3,3' -stroke none \
  -fill "$grip_light" -draw 'rectangle 4,9 9,9' -draw 'rectangle 4,12 9,12' -draw 'rectangle 4,15 9,15' \
  -fill "$grip_dark"  -draw 'rectangle 4,10 9,10' -draw 'rectangle 4,13 9,13' -draw 'rectangle 4,16 9,16' \
  "$tmp/th.png"
save "$tmp/th.png" 236_vscroll_thumb "vertical bar thumb"
htrack "$tmp/t.png" 26 "$track_edge" "$track_mid"
"$magick" "$tmp/t.png" \
  \( -size 26x14 gradient:"$thumb_a-$thumb_b" \) \
  \( -size 26x14 xc:black -fill white -draw 'roundrectangle 0,0 25,13 3,3' \) \
  -compose Over -composite \
  -fill none -stroke "$thumb_border" -strokewidth 1 -draw 'roundrectangle 0,0 25,13 3,3' -stroke none \
  -fill "$grip_light" -draw 'rectangle 9,4 9,9' -draw 'rectangle 12,4 12,9' -draw 'rectangle 15,4 15,9' \
  -fill "$grip_dark"  -draw 'rectangle 10,4 10,9' -draw 'rectangle 13,4 13,9' -draw 'rectangle 16,4 16,9' \
  "$tmp/th.png"
save "$tmp/th.png" 243_hscroll_thumb "horizontal bar thumb"

# ---------------------------------------------------------------------------------------------
{
  echo "Bitmaps of the skin, drawn by ../make_art.sh (do not edit by hand; rerun the script)."
  echo "24 bits per pixel, uncompressed. The number in each name is its resource number."
  echo
  sort -n "$listing"
} >bitmaps/README
echo "make_art.sh: wrote $(ls bitmaps/*.bmp | wc -l) bitmaps"
