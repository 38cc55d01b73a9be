#!/bin/sh
# Runs the tool over known music files and compares everything it writes
# (status, standard output and error, pages and their covers) with what it
# wrote before.
#
#   snapshot.sh check  TUNORA SOURCE_DIR EXPECTED_DIR [repo|peers]
#   snapshot.sh update TUNORA SOURCE_DIR EXPECTED_DIR [repo|peers]
#
# "repo" (the default) runs over the test fixtures and the samples; its
# expected files are committed in tests/snapshot/expected, so
#   tests/snapshot/snapshot.sh update build/dev/src/cli/tunora . tests/snapshot/expected
# writes them again after a change made on purpose, and the diff shows it.
# "peers" runs over the shared corpus of other libraries' files (not part of
# the repository): record its expected output with "update" into a folder of
# your own before a change, then "check" against that folder after it.
set -u

mode=${1:?check or update}
tunora=$(realpath "${2:?path of the tunora binary}")
source_dir=$(realpath "${3:?source folder}")
expected=${4:?folder of expected outputs}
set_name=${5:-repo}
case "$mode" in check | update) ;; *) echo "snapshot.sh: unknown mode $mode" >&2; exit 2 ;; esac

mkdir -p "$expected"
expected=$(realpath "$expected")
work=$(mktemp -d "${TMPDIR:-/tmp}/tunora-snapshot.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
actual="$work/actual"
mkdir -p "$actual"

# Paths stay relative to the source folder (or the corpus), so that the output
# is the same in every clone.
if [ "$set_name" = peers ]; then
  root="$source_dir/../shared/corpus/peers"
  if [ ! -d "$root" ]; then
    echo "snapshot.sh: no peer corpus at $root; skipped"
    exit 0
  fi
  cd "$root" || exit 2
  inputs=$(find . -type f ! -name '*.md' ! -name '*.tsv' | sed 's|^\./||' | LC_ALL=C sort)
else
  cd "$source_dir" || exit 2
  inputs=$(find tests/fixtures/tags tests/fixtures/formats samples -type f \
             \( -name '*.mp3' -o -name '*.aac' -o -name '*.m4a' -o -name '*.mp4' -o -name '*.ogg' \
                -o -name '*.flac' -o -name '*.mpc' -o -name '*.opus' -o -name '*.wav' -o -name '*.aiff' \
                -o -name '*.aifc' \) | LC_ALL=C sort)
fi

# Names may hold spaces; one name a line.
IFS='
'

# One file per case: the command, its status, what it printed, and for pages
# the page as text with the hash of its bytes and each cover written with it.
run_case() {
  name=$1
  shift
  out="$work/run"
  rm -rf "$out"
  mkdir -p "$out"
  "$tunora" "$@" >"$out.stdout" 2>"$out.stderr"
  status=$?
  {
    printf '# tunora'
    printf ' %s' "$@" | sed "s|$out|@OUT@|g"
    echo
    echo "## status $status"
    echo "## stdout"
    sed "s|$out|@OUT@|g" "$out.stdout"
    echo "## stderr"
    sed "s|$out|@OUT@|g" "$out.stderr"
    find "$out" -type f | LC_ALL=C sort | while read -r written; do
      name=${written#"$out"/}
      # Pages as text with the run's folder replaced (UTF-16 turns into UTF-8
      # without loss); covers and anything else by the hash of their bytes.
      case "$written" in
      *.html)
        mark=$(head -c 2 "$written" | od -An -tx1 | tr -d ' ')
        echo "## page $name $mark"
        if [ "$mark" != fffe ] || ! iconv -f UTF-16 -t UTF-8 "$written" >"$out.text" 2>/dev/null; then
          cp "$written" "$out.text"
        fi
        sed "s|$out|@OUT@|g" "$out.text"
        echo
        ;;
      *) echo "## file $name $(sha256sum <"$written" | cut -d' ' -f1)" ;;
      esac
    done
  } >"$actual/$name.txt"
}

for file in $inputs; do
  case_name=$(echo "$file" | tr '/ ' '__')
  run_case "$case_name.tags" tags "$file"
  run_case "$case_name.json" tags --json "$file"
  run_case "$case_name.single" page -o "$work/run/page.html" "$file"
  [ "$set_name" = peers ] && continue
  run_case "$case_name.mini" page --mini -o "$work/run/page.html" "$file"
done

if [ "$set_name" = repo ]; then
  # shellcheck disable=SC2086
  run_case multiple page -o "$work/run/page.html" $inputs
  # shellcheck disable=SC2086
  run_case multiple.json tags --json $inputs
  run_case directory.samples page --directory samples -o "$work/run/page.html"
  run_case directory.tags page --directory tests/fixtures/tags -o "$work/run/page.html"
  run_case utf8 page --utf8 -o "$work/run/page.html" "samples/01 - Morning Tone.mp3"
else
  # shellcheck disable=SC2086
  run_case multiple page -o "$work/run/page.html" $inputs
fi

if [ "$mode" = update ]; then
  rm -f "$expected"/*.txt
  cp "$actual"/*.txt "$expected"/
  echo "snapshot.sh: $(ls "$actual" | wc -l) expected outputs written to $expected"
  exit 0
fi
if diff -ru "$expected" "$actual" >"$work/diff"; then
  echo "snapshot.sh: $(ls "$actual" | wc -l) outputs as expected"
  exit 0
fi
head -c 20000 "$work/diff"
echo "snapshot.sh: the output differs from $expected (after a change made on purpose:"
echo "  tests/snapshot/snapshot.sh update TUNORA . tests/snapshot/expected)"
exit 1
