#!/usr/bin/env bash
# Fails when a source file includes from a layer above its own (or from tests/ or bench/). A folder
# may include itself and the layers of a lower rank: platform and resources, then description,
# then devices and link (which do not see each other), then app.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A rank=([platform]=0 [resources]=0 [description]=1 [devices]=2 [link]=2 [app]=3)
status=0
while IFS=: read -r file line target; do
    own=${file%%/*}
    if [[ $target != "$own" ]] && { [[ ! -v rank[$target] ]] || (( rank[$target] >= rank[$own] )); }; then
        echo "$file:$line: $own/ includes from $target/" >&2
        status=1
    fi
done < <(grep -rnoE --include='*.h' --include='*.cpp' '^#include "[a-z_]+/' "${!rank[@]}" |
         sed -E 's|#include "([a-z_]+)/$|\1|')
exit $status
