# Sourced by the sanitizer and fuzz scripts: sanitizer options and the Mesa leak suppressions.
# Usage: . tests/sanitizers/env.sh   (from the repository root)

sanitizers_dir="$PWD/tests/sanitizers"
export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1:strict_init_order=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$sanitizers_dir/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="suppressions=$sanitizers_dir/ubsan.supp:print_stacktrace=1:halt_on_error=1"

# Keeps Mesa's driver mapped until exit, so what it still holds stays reachable and
# attributable instead of turning into frameless leaks when a display is closed.
for dri in /usr/lib/x86_64-linux-gnu/dri /usr/lib64/dri /usr/lib/dri; do
  if [[ -f $dri/swrast_dri.so ]]; then
    export LD_PRELOAD="$dri/swrast_dri.so${LD_PRELOAD:+:$LD_PRELOAD}"
    break
  fi
done
unset dri sanitizers_dir
