#!/usr/bin/env bash
# Makes the sample music of the repository: three short synthetic tones,
# tagged by the usual tools, with a cover beside them (folder.jpg) and the
# same cover inside the MP3 and FLAC files. Run from anywhere; writes into
# the folder of this script.
set -euo pipefail
cd "$(dirname "$0")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

artist="Tunora Sample Ensemble"
album="Three Small Tones"

# The cover: a duotone-friendly gradient with a few circles, 200 x 200.
convert -size 200x200 gradient:'#1d3557'-'#e9c46a' \
  -fill '#e76f51' -draw 'circle 100,100 100,40' \
  -fill '#2a9d8f' -draw 'circle 100,100 100,70' \
  -fill '#f1faee' -draw 'circle 100,100 100,92' \
  -strip -quality 80 folder.jpg

tone() { # name frequency seconds sample-rate
  ffmpeg -loglevel error -y -f lavfi -i "sine=frequency=$2:duration=$3:sample_rate=$4" \
    -af "afade=t=in:d=0.2,afade=t=out:st=$(echo "$3 - 0.3" | bc | sed "s/^\./0./"):d=0.3" -ac 1 \
    -map_metadata -1 -fflags +bitexact -flags:a +bitexact "$work/$1.wav"
}

tone morning 440 1.5 44100
lame --quiet -b 64 -m m --resample 44.1 "$work/morning.wav" "01 - Morning Tone.mp3"
printf 'Hum along\nOne note is enough\n' > "$work/lyrics.txt"
eyeD3 --quiet --no-color --to-v2.4 -a "$artist" -A "$album" -t "Morning Tone" -n 1 -N 3 \
  --recording-date 2024 -G "Ambient" -c "A plain A at 440 Hz." --add-lyrics "$work/lyrics.txt" \
  --add-image "folder.jpg:FRONT_COVER" "01 - Morning Tone.mp3" >/dev/null

tone noon 523.25 1.5 22050
oggenc --quiet -q 0 -a "$artist" -l "$album" -t "Noon Tone" -N 2 -d 2024 -G "Ambient" \
  -c "TRACKTOTAL=3" -c "COMMENT=A C above it." -o "02 - Noon Tone.ogg" "$work/noon.wav"

tone evening 659.25 1 8000
flac --silent -8 -o "03 - Evening Tone.flac" "$work/evening.wav"
metaflac --set-tag="ARTIST=$artist" --set-tag="ALBUM=$album" --set-tag="TITLE=Evening Tone" \
  --set-tag="TRACKNUMBER=3" --set-tag="TRACKTOTAL=3" --set-tag="DATE=2024" \
  --set-tag="GENRE=Ambient" --import-picture-from="3||Cover||folder.jpg" "03 - Evening Tone.flac"

ls -l
