// The address sanitizer's defaults for the fuzz targets (ASAN_OPTIONS still overrides them).
// Clearing the shadow of a large region by mapping fresh pages over it flushes every core's
// address cache, and the targets do it on every run as the plan's columns are emptied and
// sized again; clearing the shadow in place costs far less.
extern "C" const char* __asan_default_options();

extern "C" const char* __asan_default_options() {
    return "clear_shadow_mmap_threshold=1073741824";
}
