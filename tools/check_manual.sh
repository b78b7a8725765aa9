#!/bin/bash
# Checks that the verbs and options velk-cli --help lists are the ones its
# manual page describes, and the other way round.
#   tools/check_manual.sh build/velk-cli docs/velk-cli.1
set -eu
cli=${1:?velk-cli}; page=${2:?manual page}
help_verbs=$("$cli" --help | sed -n '/^verbs:/,/^exit/p' | awk 'NF && $1 !~ /:$/ && $1 != "exit" { print $1 }' | sort)
page_verbs=$(sed -n '/^\.SH VERBS/,/^\.SH /p' "$page" | grep -E '^\.BI? ' | awk '{ print $2 }' | tr -d '"' | sed 's/\\-/-/g' | sort)
help_options=$("$cli" --help | grep -oE -- '--[a-z0-9-]+' | sort -u)
page_options=$(sed -n '/^\.SH OPTIONS/,/^\.SH /p' "$page" | grep -oE -- '\\-\\-[a-z0-9\\-]+' | sed 's/\\-/-/g' | sort -u)
status=0
if [ "$help_verbs" != "$page_verbs" ]; then
  echo "verbs differ (< help, > manual page):"; diff <(echo "$help_verbs") <(echo "$page_verbs") || true; status=1
fi
if [ "$help_options" != "$page_options" ]; then
  echo "options differ (< help, > manual page):"; diff <(echo "$help_options") <(echo "$page_options") || true; status=1
fi
[ $status -eq 0 ] && echo "help and manual page list the same $(echo "$help_verbs" | wc -l) verbs and $(echo "$help_options" | wc -l) options"
exit $status
