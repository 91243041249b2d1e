#!/bin/sh
# Writes CHANGELOG.md in the form Debian keeps a native package's changes in: one entry per
# release, newest first, each change a starred paragraph filled to 78 columns, signed with
# the release's date.
# Usage: debian_changelog.sh CHANGELOG.md PACKAGE "MAINTAINER <ADDRESS>"
set -eu
changelog=$1 package=$2 maintainer=$3

# Debian wants each entry later than the one before it, and two releases may share a day:
# each is signed that many minutes after midnight as releases of that day came before it.
sign() {
  at=$(( $(date -u -d "$1 00:00 UTC" +%s) + 60 * $2 ))
  printf '\n -- %s  %s\n\n' "$maintainer" "$(LC_ALL=C date -u -R -d "@$at")"
}
flush() {   # the change gathered so far, as a starred paragraph
  [ -n "$change" ] || return 0
  printf '%s\n' "$change" | fmt -w 74 | sed '1s/^/  * /; 2,$s/^/    /'
  change=""
}

change="" date="" released=""
while IFS= read -r line; do
  case $line in
    "## ["*" - "*)
      flush
      [ -z "$date" ] || sign "$date" "$earlier"
      version=${line#"## ["}; version=${version%%]*}; date=${line##* } released=1
      # the releases of this day below this one in the file
      earlier=$(sed -n "/^## \[$version\] - /,\$p" "$changelog" | grep -c "^## \[.*\] - $date\$")
      earlier=$((earlier - 1))
      printf '%s (%s) unstable; urgency=medium\n\n' "$package" "$version" ;;
    "## "*) flush; released="" ;;   # changes not released yet
    "### "*) flush; section=${line#"### "} ;;
    "- "*) flush; [ -z "$released" ] || change="$section: ${line#"- "}" ;;
    "  "*) [ -z "$change" ] || change="$change ${line#"  "}" ;;
    *) flush ;;
  esac
done < "$changelog"
flush
[ -z "$date" ] || sign "$date" "$earlier" | sed '$d'
