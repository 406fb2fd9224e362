# The habits scripts/test enforces beside the tests: formatting and clang-tidy.
# Sourced after common.sh, not run.

# Every C++ source of the project as clang-format would leave it.
casavo_check_format() {
  echo "clang-format: checking every source"
  (cd "$CASAVO_ROOT" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror)
}

# The .clang-tidy checks over the layers without Qt, the service, the tool and
# the fuzz targets, from the compile commands of build folder $1. The Qt layers
# are left out for now: their run takes long and has not been cleaned yet.
casavo_check_tidy() {
  local dir=${1:-$CASAVO_BUILD}
  echo "clang-tidy: checking the model layers, the service and the tool"
  run-clang-tidy -quiet -j "$(nproc)" -p "$dir" \
    "^$CASAVO_ROOT/(src/(common|plan|files|model3d)|service|tools|fuzz)/.*\.cpp\$" >"$dir/clang-tidy.log" 2>&1 ||
    {
      grep -E 'error:|warning:' "$dir/clang-tidy.log" | sort -u
      echo "clang-tidy failed; the whole output is in $dir/clang-tidy.log"
      return 1
    }
}
