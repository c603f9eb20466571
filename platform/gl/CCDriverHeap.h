#pragma once
// The GL driver's per-frame memory. A software GL driver allocates and frees megabytes every
// frame (vertex data, bins, scene blocks). With glibc's defaults that memory goes back to the
// kernel when it is freed (the heap top is trimmed above 128 KB; larger blocks are mapped and
// unmapped), so the next frame faults every page in again: two thirds to three quarters of the
// main thread's time at 10,000 to 50,000 batched sprites. Keeping it costs memory the process has
// used already, up to 64 MB.

// Lets the heap keep up to 64 MB of freed memory and serve blocks up to 32 MB itself. Leaves
// the allocator alone when the user tuned it (GLIBC_TUNABLES or the MALLOC_*_ variables).
// Returns whether the settings were made.
bool ccKeepHeapBetweenFrames();
