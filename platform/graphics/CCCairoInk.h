#pragma once
// Where a premultiplied ARGB32 picture holds any ink (a pixel that is not transparent black),
// and a group laid over its context through only that part: the rest of a group is
// transparent, which "over" leaves exactly as it was, so the pixels are those of the whole.
typedef struct _cairo cairo_t;

// Whether any pixel of `height` rows of `width` words, `stride` bytes apart, is not zero.
bool ccARGB32HasInk(const unsigned char* data, int stride, int width, int height);

// The smallest rectangle of pixels holding all the ink: false (and nothing set) when there is none.
bool ccARGB32InkBounds(const unsigned char* data, int stride, int width, int height, int* x, int* y, int* w,
                       int* h);

// Ends the group last pushed on `cr` and paints it over the target at `alpha`, as
// cairo_pop_group_to_source() and cairo_paint_with_alpha() would, compositing only the
// group's inked pixels when it is an image of whole pixels.
void ccCairoPaintGroupWithAlpha(cairo_t* cr, double alpha);
