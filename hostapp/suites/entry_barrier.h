// The barrier every suite function passes on its way to a plug-in. The C++
// behind an operation may throw (std::bad_alloc from a container, anything
// from a fault in the model, the dialog manager or a test's failure rule),
// and an exception must never unwind through the plug-in's C frames. So the
// tables hold barrier<F> (operations that return a status) or
// valueBarrier<F> (operations that return a value), never F itself:
//  - std::bad_alloc answers kHostOutOfMemoryErr (-108), any other exception
//    kHostCantHappenErr ('CANT');
//  - a value operation answers 0 or null, as it does for any call it cannot
//    answer.
#pragma once

#include <new>
#include <type_traits>

#include "shell/host/host_types.h"

namespace host {
namespace detail {

template <auto F, bool kStatus>
struct Barrier;

template <typename R, typename... Args, R (*F)(Args...), bool kStatus>
struct Barrier<F, kStatus> {
  static_assert(!kStatus || std::is_same_v<R, HostErr>, "a status operation returns HostErr");

  static R fail([[maybe_unused]] HostErr code) noexcept {
    if constexpr (kStatus)
      return code;
    else if constexpr (!std::is_void_v<R>)
      return R{};
  }

  static R call(Args... args) noexcept {
    if constexpr (noexcept(F(args...))) {
      return F(args...);
    } else {
      try {
        return F(args...);
      } catch (const std::bad_alloc&) {
        return fail(kHostOutOfMemoryErr);
      } catch (...) {
        return fail(kHostCantHappenErr);
      }
    }
  }
};

}  // namespace detail

// F behind the barrier; F returns a HostErr status.
template <auto F>
inline constexpr auto barrier = &detail::Barrier<F, true>::call;

// F behind the barrier; F returns a value (0 or null when it cannot answer).
template <auto F>
inline constexpr auto valueBarrier = &detail::Barrier<F, false>::call;

}  // namespace host
