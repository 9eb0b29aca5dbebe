#!/usr/bin/env bash
# Checks the layering of the sources under ROOT by their includes: no Qt below
# the Qt designer; the runtime, the shared kernels and the runtime halves of the
# component families include nothing of the designer engine; the engine
# includes nothing of the designer, the runtime or the tools; the designer core
# nothing of its Qt layer. Prints each offending include; exits 1 if any.
set -uo pipefail
root=${1:?usage: check_layers.sh ROOT}
cd "$root" || exit 2
failed=0

# sources PATTERN...: the C and C++ files matching the patterns, one per line.
sources() {
    local p
    for p in "$@"; do compgen -G "$p"; done 2>/dev/null | grep -E '\.(h|c|cpp)$' | sort -u
}

# forbid RULE REGEX FILE...: reports every include in FILE... whose path matches
# REGEX, unless it also matches ALLOWED.
ALLOWED='^$'
forbid() {
    local rule=$1 regex=$2 file
    shift 2
    for file in "$@"; do
        while IFS= read -r hit; do
            if [[ $hit =~ $ALLOWED ]]; then continue; fi
            echo "$rule: $file:$hit"
            failed=1
        done < <(grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($regex)" "$file")
    done
}

mapfile -t below_qt < <(sources 'algo/*' 'engine/*' 'components/*/*' 'persistence/*' 'simulation/*' \
    'realtime/*' 'runtime/*' 'designer/*' 'tools/*' 'examples/*' 'examples/*/*')
forbid "Qt below the Qt designer" 'Q[A-Za-z]|qt' "${below_qt[@]}"

engine_parts='engine/|persistence/|simulation/|realtime/|designer/|tools/'
mapfile -t runtime_side < <(sources 'runtime/*' 'components/*/*_rt.*')
ALLOWED='components/families\.h|components/[a-z_]+/[a-z_]+_(rt|kernel)\.h'
forbid "runtime includes the designer" "$engine_parts|components/" "${runtime_side[@]}"
mapfile -t kernels < <(sources 'algo/*' 'components/*/*_kernel.*')
ALLOWED='components/[a-z_]+/[a-z_]+_kernel\.h'
forbid "shared kernel includes a deliverable" "$engine_parts|runtime/|components/" "${kernels[@]}"
ALLOWED='^$'

mapfile -t engine < <(sources 'engine/*' 'components/*/*' 'persistence/*' 'simulation/*' 'realtime/*' \
    | grep -vE '_(rt|kernel)\.(h|cpp)$')
forbid "engine includes a layer above it or the runtime" 'designer/|tools/|runtime/|components/[a-z_]+/[a-z_]+_rt\.h' \
    "${engine[@]}"

mapfile -t core < <(sources 'designer/*')
forbid "designer core includes its Qt layer, the runtime or the tools" 'designer/gui/|runtime/|tools/' "${core[@]}"

exit $failed
