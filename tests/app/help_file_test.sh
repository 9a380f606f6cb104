#!/usr/bin/env bash
# The compiled help file as the help system sees it: every topic the program
# opens is inside, carries its title, is listed in the table of contents under
# that title, and links only to pages that exist.
# Usage: help_file_test.sh path/to/veltrace.chm
set -uo pipefail
chm="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../support/cli_checks.sh"

# Topic path inside the file, and the title its page and the contents show.
topics=(
  "html/overview.htm|Veltrace Overview"
  "html/color.htm|Color"
  "html/matrix.htm|Matrix"
  "html/vector.htm|Vector"
  "html/pixel shader.htm|Pixel Shader"
  "html/vertex shader.htm|Vertex Shader"
  "html/render settings.htm|Render Settings"
  "html/renderstates.htm|Render States"
  "html/texturesstagesstates.htm|Textures, Stages and States"
  "html/streammapping.htm|Stream Mapping"
)

[ -f "$chm" ] || { echo "FAIL: no help file at $chm"; exit 1; }
listing="$(enum_chmLib "$chm")" || fail "enum_chmLib cannot read $chm"
extract_chmLib "$chm" "$work/chm" >/dev/null || fail "extract_chmLib cannot unpack $chm"

listed() { printf '%s\n' "$listing" | grep -qF -- "normal file		/$1"; }

listed "veltrace.hhc" || fail "no table of contents /veltrace.hhc in the listing"
contents="$work/chm/veltrace.hhc"

# The contents as "name|local" pairs: each entry names its title, then its page.
pairs="$(awk -F'"' '/param name="Name"/ {name = $4} /param name="Local"/ {print name "|" $4}' "$contents" 2>/dev/null)"

for topic in "${topics[@]}"; do
  path="${topic%%|*}"
  title="${topic#*|}"
  listed "$path" || fail "topic /$path is not in the listing"
  page="$work/chm/$path"
  if [ ! -f "$page" ]; then
    fail "topic /$path was not extracted"
    continue
  fi
  grep -qF "<title>$title</title>" "$page" || fail "/$path does not carry the title '$title'"
  grep -qF "<h1>$title</h1>" "$page" || fail "/$path does not show the heading '$title'"
  printf '%s\n' "$pairs" | grep -qxF "$title|$path" || fail "the contents do not list '$title' at $path"
done

# Every link between pages leads to a page inside the file.
for page in "$work"/chm/html/*.htm; do
  while IFS= read -r target; do
    [ -f "$work/chm/html/$target" ] || fail "$(basename "$page") links to missing '$target'"
  done < <(grep -o 'href="[^"#:]*"' "$page" | sed 's/^href="//; s/"$//')
done

finish "help file"
