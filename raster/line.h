#pragma once
// Straight segments: Cohen-Sutherland clipping, then horizontal, vertical, exact-diagonal or general
// walks. General segments are walked in 16.16 fixed point from both ends toward the middle.
#include <cstdint>

#include "raster/bitmap.h"

// True when part of the segment lies in 0..width-1 x 0..height-1; the endpoints are rewritten to
// the clipped ones (also when the result is false).
bool PIX_ClipSegment(int* x1, int* y1, int* x2, int* y2, int width, int height);

// Draws from (x1, y1) to (x2, y2), both endpoints included. Only the low byte of mode is used.
void PIX_DrawSegment(PIX_IBitmap* bitmap, int x1, int y1, int x2, int y2, uint32_t colour, float alpha, int mode,
                     bool antialias);

// Span drawers (PIX_SegmentSpan family): walk L + 1 pixels from start and end toward the middle.
// majorStep and minorStep are in pixels; slope is the minor advance per major step in 16.16.
#define PIX_SEGMENT_SPAN_ARGS                                                                                    \
    uint32_t *start, uint32_t *end, int slope, int majorStep, int length, int minorStep, uint32_t colour, int w, \
        bool antialias
void PIX_SpanCopy(PIX_SEGMENT_SPAN_ARGS);
void PIX_SpanSolid(PIX_SEGMENT_SPAN_ARGS);
void PIX_SpanHalf(PIX_SEGMENT_SPAN_ARGS);
void PIX_SpanAdd(PIX_SEGMENT_SPAN_ARGS);
void PIX_SpanDodge(PIX_SEGMENT_SPAN_ARGS);
void PIX_SpanMultiply(PIX_SEGMENT_SPAN_ARGS);
void PIX_SpanOverlay(PIX_SEGMENT_SPAN_ARGS);
void PIX_SpanHsv(PIX_SEGMENT_SPAN_ARGS);
#undef PIX_SEGMENT_SPAN_ARGS

// Soft diagonals: n steps from pixel, each pixel at weight w * 3 / 4 and its neighbours one x step
// and one row step away at w / 4; the last pixel at w * 3 / 4.
void PIX_DiagonalCopy(uint32_t* pixel, int n, int xStep, int rowStep, uint32_t colour, int w);
void PIX_DiagonalMultiply(uint32_t* pixel, int n, int xStep, int rowStep, uint32_t colour, int w);
