/*
 * The layout of every record that crosses the host interface, checked at
 * compile time on both targets: 8-byte pointers (64-bit Linux) and 4-byte
 * pointers (32-bit Windows). A record whose size or field offsets changed
 * would no longer match a host or plug-in built before the change.
 */
#pragma once

#include <stddef.h>

#include "adm_suites.h"
#include "ai_filter_suites.h"
#include "ai_style_suites.h"
#include "basic_suite.h"
#include "host_types.h"

#ifdef __cplusplus
#define HOST_LAYOUT_CHECK(condition, text) static_assert(condition, text)
#else
#define HOST_LAYOUT_CHECK(condition, text) _Static_assert(condition, text)
#endif

#define HOST_POINTER_SIZE sizeof(void*)

HOST_LAYOUT_CHECK(sizeof(void*) == 4 || sizeof(void*) == 8, "4- or 8-byte pointers");
HOST_LAYOUT_CHECK(sizeof(HostReal) == 4 && sizeof(HostErr) == 4 && sizeof(HostBool) == 4, "4-byte scalars");

HOST_LAYOUT_CHECK(sizeof(HostPoint) == 8 && offsetof(HostPoint, v) == 4, "HostPoint");
HOST_LAYOUT_CHECK(sizeof(HostRect) == 16 && offsetof(HostRect, top) == 4 && offsetof(HostRect, right) == 8 &&
                      offsetof(HostRect, bottom) == 12,
                  "HostRect");
HOST_LAYOUT_CHECK(sizeof(ViewPoint) == 8 && offsetof(ViewPoint, v) == 4, "ViewPoint");
HOST_LAYOUT_CHECK(sizeof(HostMatrix) == 24 && offsetof(HostMatrix, b) == 4 && offsetof(HostMatrix, c) == 8 &&
                      offsetof(HostMatrix, d) == 12 && offsetof(HostMatrix, tx) == 16 &&
                      offsetof(HostMatrix, ty) == 20,
                  "HostMatrix");
HOST_LAYOUT_CHECK(sizeof(PathSegment) == 28 && offsetof(PathSegment, in) == 8 && offsetof(PathSegment, out) == 16 &&
                      offsetof(PathSegment, corner) == 24,
                  "PathSegment");
HOST_LAYOUT_CHECK(sizeof(DialogRect) == 16 && offsetof(DialogRect, top) == 4 && offsetof(DialogRect, right) == 8 &&
                      offsetof(DialogRect, bottom) == 12,
                  "DialogRect");
HOST_LAYOUT_CHECK(sizeof(EnvelopeOptions) == 8 && offsetof(EnvelopeOptions, fidelity) == 4, "EnvelopeOptions");

/* The colour's object reference follows the four components, padded to
 * pointer alignment. */
HOST_LAYOUT_CHECK(offsetof(HostColor, c) == 4, "HostColor components");
HOST_LAYOUT_CHECK(offsetof(HostColor, ref) == (HOST_POINTER_SIZE == 4 ? 20 : 24), "HostColor reference");
HOST_LAYOUT_CHECK(sizeof(HostColor) == (HOST_POINTER_SIZE == 4 ? 24 : 32), "HostColor size");

#define HOST_STYLE_OFFSET(p4, p8) (HOST_POINTER_SIZE == 4 ? (p4) : (p8))
HOST_LAYOUT_CHECK(offsetof(PathStyle, fillColor) == HOST_STYLE_OFFSET(4, 8), "PathStyle fillColor");
HOST_LAYOUT_CHECK(offsetof(PathStyle, strokePaint) == HOST_STYLE_OFFSET(28, 40), "PathStyle strokePaint");
HOST_LAYOUT_CHECK(offsetof(PathStyle, strokeColor) == HOST_STYLE_OFFSET(32, 48), "PathStyle strokeColor");
HOST_LAYOUT_CHECK(offsetof(PathStyle, strokeWidth) == HOST_STYLE_OFFSET(56, 80), "PathStyle strokeWidth");
HOST_LAYOUT_CHECK(offsetof(PathStyle, dashOffset) == HOST_STYLE_OFFSET(60, 84), "PathStyle dashOffset");
HOST_LAYOUT_CHECK(offsetof(PathStyle, dashCount) == HOST_STYLE_OFFSET(64, 88), "PathStyle dashCount");
HOST_LAYOUT_CHECK(offsetof(PathStyle, dashes) == HOST_STYLE_OFFSET(68, 92), "PathStyle dashes");
HOST_LAYOUT_CHECK(offsetof(PathStyle, lineCap) == HOST_STYLE_OFFSET(92, 116), "PathStyle lineCap");
HOST_LAYOUT_CHECK(offsetof(PathStyle, lineJoin) == HOST_STYLE_OFFSET(96, 120), "PathStyle lineJoin");
HOST_LAYOUT_CHECK(offsetof(PathStyle, miterLimit) == HOST_STYLE_OFFSET(100, 124), "PathStyle miterLimit");
HOST_LAYOUT_CHECK(offsetof(PathStyle, reserved) == HOST_STYLE_OFFSET(104, 128), "PathStyle reserved");
HOST_LAYOUT_CHECK(sizeof(PathStyle) == HOST_STYLE_OFFSET(120, 144), "PathStyle size");
#undef HOST_STYLE_OFFSET

/* Message records: a 4-byte check word, then pointers. */
HOST_LAYOUT_CHECK(offsetof(MessageHeader, self) == HOST_POINTER_SIZE, "MessageHeader self");
HOST_LAYOUT_CHECK(offsetof(MessageHeader, globals) == 2 * HOST_POINTER_SIZE, "MessageHeader globals");
HOST_LAYOUT_CHECK(offsetof(MessageHeader, basic) == 3 * HOST_POINTER_SIZE, "MessageHeader basic");
HOST_LAYOUT_CHECK(sizeof(MessageHeader) == 4 * HOST_POINTER_SIZE, "MessageHeader size");
HOST_LAYOUT_CHECK(offsetof(FilterMessage, filter) == 4 * HOST_POINTER_SIZE, "FilterMessage filter");
HOST_LAYOUT_CHECK(offsetof(FilterMessage, parameters) == 5 * HOST_POINTER_SIZE, "FilterMessage parameters");
HOST_LAYOUT_CHECK(sizeof(FilterMessage) == 6 * HOST_POINTER_SIZE, "FilterMessage size");
HOST_LAYOUT_CHECK(sizeof(FilterDescription) == 2 * HOST_POINTER_SIZE && offsetof(FilterDescription, title) ==
                      HOST_POINTER_SIZE,
                  "FilterDescription");

#undef HOST_POINTER_SIZE
#undef HOST_LAYOUT_CHECK
