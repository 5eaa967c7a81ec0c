/* Filter registration, its menu item, and the host's number/text conversion.
 *
 * Every operation may be called during a message (a plug-in adds its filters
 * at start-up) and may answer the codes of host_types.h besides those listed
 * with it. */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kFilterSuite "AI Filter Suite"
#define kFilterSuiteVersion 2

typedef struct FilterDescription {
  unsigned char* category; /* length-prefixed */
  unsigned char* title;    /* length-prefixed */
} FilterDescription;

typedef struct FilterSuiteV2 {
  /* Registers a filter under an internal name; the host lists it in its
   * filter menu under category and title and returns its handle. 'PAR?' for
   * a null name, description, category, title or filter. */
  HostErr (*AddFilter)(PluginRef self, const char* name, const FilterDescription* description,
                       int32_t options, FilterHandle* filter);
  /* The menu item the host made for the filter. 'PAR?' for a handle that
   * names no filter of this host, or a null menuItem. */
  HostErr (*GetFilterMenuItem)(FilterHandle filter, MenuItemHandle* menuItem);
} FilterSuiteV2;

#define kMenuSuite "AI Menu Suite"
#define kMenuSuiteVersion 7

typedef struct MenuSuiteV7 {
  /* Lets the host enable the item by itself: action 1 enables it when every
   * "if" condition holds. The condition values are recorded as given.
   * 'PAR?' for a handle that names no menu item of this host. */
  HostErr (*UpdateMenuItemAutomatically)(MenuItemHandle menuItem, int32_t action,
                                         int32_t ifObjectIsInArtwork, int32_t ifObjectIsNotInArtwork,
                                         int32_t ifObjectIsSelected, int32_t ifObjectIsNotSelected,
                                         int32_t ifIsTrue, int32_t ifIsNotTrue);
} MenuSuiteV7;

#define kUserSuite "AI User Suite"
#define kUserSuiteVersion 5

typedef struct UserSuiteV5 {
  /* Writes value as decimal text with `precision` digits after the point
   * (0 = whole number) into the length-prefixed buffer (256 bytes). 'PAR?'
   * for a null text, a precision outside 0..20, a value that is not finite
   * or a text longer than 255 characters; the buffer stays as it was then. */
  HostErr (*NumberToText)(HostReal value, int16_t precision, unsigned char* text);
  /* Reads a number from length-prefixed text: the whole text, blanks around
   * it aside, must be one finite number. 'PAR?' for a null text or value, a
   * text that is not such a number, or a number out of range (beyond
   * HostReal, or too small for a double); *value stays as it was then. */
  HostErr (*TextToNumber)(const unsigned char* text, HostReal* value);
} UserSuiteV5;

#ifdef __cplusplus
}
#endif
