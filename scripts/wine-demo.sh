# Sourced by scripts/run and scripts/screenshots inside a session of tests/support/wine-session.sh:
# the demo scene a new prefix is given, and a run of the saver that ends with a screenshot.

# A picture of our own and a path over its lower part, so that a first run shows waves rather
# than an empty desktop. The picture, a lake at sunset mirroring the sun and the hills, is made
# here (ImageMagick, fixed noise seed) so that nothing binary is kept for it; the mirrored edges
# are where the waves show best.
demo_scene_store() {
  local demo="$LURVANE_WINE_TMP/demo.jpg"
  convert -seed 11 \
    \( -size 1920x605 gradient:'#14204a-#f0a060' \
       \( -size 240x76 xc:black -fill '#ffb060' -draw 'circle 158,67 158,50' -blur 0x10 -resize '1920x605!' \) \
       -compose screen -composite \
       -fill '#fff0c8' -draw 'circle 1270,540 1270,478' \
       -fill '#2b1d3a' -draw 'polygon 0,606 0,560 170,505 310,540 500,490 670,550 840,590 910,606' \
       -draw 'polygon 1500,606 1600,572 1740,555 1920,578 1920,606' \
       -write mpr:sky +delete \) \
    mpr:sky \
    \( mpr:sky -flip -crop 1920x475+0+0 +repage -modulate 85,90 -fill '#0a2a50' -colorize 20% \
       \( -size 90x240 xc:gray50 +noise Random -colorspace gray -resize '1920x475!' +level 40%,60% \) \
       -compose softlight -composite \
       \( -size 1920x475 gradient:'#ffffff-#6878a0' \) -compose multiply -composite \) \
    -append -quality 90 "$demo"
  wine_store_setting BackgroundImage "Z:${demo//\//\\}"
  # Twips of the dialog's preview: from just below the horizon to the bottom.
  wine_store_setting PathPoints '-97,2150;4897,2150;4897,3637;-97,3637'
  # Strong, short waves: they break the mirrored sun into slices, as a breeze does.
  wine_store_setting WaveAmp 10
  wine_store_setting WaveCount 16
}

# Runs the saver with a switch, takes a screenshot of the whole display after some seconds and
# ends the run as a user would: demo_run_with_shot SCR SWITCH SECONDS SHOT [COMMAND]. COMMAND,
# when given, runs just before the screenshot is taken.
demo_run_with_shot() {
  local scr=$1 switch=$2 seconds=$3 shot=$4 before=${5:-}
  /usr/lib/wine/wine64 "$scr" "$switch" &
  local saver=$!
  sleep "$seconds"
  if [ -n "$before" ]; then $before; fi
  import -window root "$shot"
  case "$switch" in
    /c*) xdotool key Escape ;;  # closes the settings dialog without saving
    *) xdotool key space ;;     # ends the saver
  esac
  local waited
  for waited in $(seq 30); do
    kill -0 "$saver" 2>/dev/null || break
    sleep 0.1
  done
  kill "$saver" 2>/dev/null || true
  wait "$saver" 2>/dev/null || true
}
