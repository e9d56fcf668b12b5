#!/usr/bin/env bash
# Fails when a program source includes a header of a higher layer, or of a
# folder of its own layer that tools/layers.txt does not allow, or when the
# platform and core layers include a toolkit, engine or X11 header.
# Usage: tools/checklayers.sh [source root]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root"

declare -A layer_of uses_of
order=(platform core windowbase windows frame)
declare -A rank
for i in "${!order[@]}"; do rank[${order[$i]}]=$i; done

while read -r folder layer uses; do
    [[ -z "$folder" || "$folder" == \#* ]] && continue
    [[ -n "${rank[$layer]+x}" ]] || { echo "tools/layers.txt: unknown layer '$layer'" >&2; exit 2; }
    layer_of[$folder]=$layer
    uses_of[$folder]=${uses#uses }
done < tools/layers.txt

# Sets `found` to the table's folder that holds a path (the longest listed
# prefix; "" when none), remembered per directory.
declare -A folder_cache
find_folder() {
    local directory=${1%/*} best=""
    if [[ -n "${folder_cache[$directory]+x}" ]]; then found=${folder_cache[$directory]}; return; fi
    for folder in "${!layer_of[@]}"; do
        if [[ "$1" == "$folder"/* && ${#folder} -gt ${#best} ]]; then best=$folder; fi
    done
    folder_cache[$directory]=$best
    found=$best
}

failures=0
fail() { echo "$1" >&2; failures=$((failures + 1)); }

while IFS= read -r file; do
    find_folder "$file"
    from=$found
    case "$file" in tests/* | bench/* | tools/* | build*/*) continue ;; esac
    if [[ -z "$from" ]]; then
        fail "$file: its folder is not in tools/layers.txt"
        continue
    fi
    from_layer=${layer_of[$from]}
    line_number=0
    while IFS= read -r line; do
        line_number=$((line_number + 1))
        [[ "$line" =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*([\"\<])([^\"\>]+) ]] || continue
        header=${BASH_REMATCH[2]}
        if [[ "${BASH_REMATCH[1]}" == "<" ]]; then
            # The platform layer stands in for the system's services, sound included.
            if { [[ "$from_layer" == core ]] && [[ "$header" =~ ^(wx|vlc|gtk|gdk|X11|alsa)/ ]]; } ||
               { [[ "$from_layer" == platform ]] && [[ "$header" =~ ^(wx|vlc|gtk|gdk|X11)/ ]]; }; then
                fail "$file:$line_number: the $from_layer layer includes <$header>"
            fi
            continue
        fi
        find_folder "$header"
        to=$found
        [[ -z "$to" || "$to" == "$from" ]] && continue
        to_layer=${layer_of[$to]}
        if (( rank[$to_layer] > rank[$from_layer] )); then
            fail "$file:$line_number: $from ($from_layer) includes $header of a higher layer ($to_layer)"
        elif [[ "$to_layer" == "$from_layer" && " ${uses_of[$from]} " != *" $to "* ]]; then
            fail "$file:$line_number: $from includes $header of $to (same layer, not in its uses)"
        fi
    done < "$file"
done < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find . -name '*.cpp' -o -name '*.h' | sed 's#^\./##')

if (( failures > 0 )); then
    echo "$failures include(s) break the layers of tools/layers.txt" >&2
    exit 1
fi
echo "includes follow the layers of tools/layers.txt"
