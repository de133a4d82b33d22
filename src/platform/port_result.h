// Which port results a caller must look at, and the one way to ignore one
// on purpose.
//
// Marked: results that carry what the caller asked for (queries, created
// objects and handles, locked memory, counts) and the success of steps the
// code after them relies on (loading a module, registering a class, a data
// format, a cooperative level, acquiring, a scene, a present, writing and
// committing a file). Not marked: reference counts, the previous values
// setters return, releases and deletions, and drawing and state calls whose
// failure leaves the program nothing to do (Direct3D reports a lost device
// at TestCooperativeLevel and Present, where the program looks).
//
// GCC 12 does not check `[[nodiscard]]` on calls through a virtual function,
// and every port call is one; it does check its own `warn_unused_result`, so
// port functions carry both. A cast to void does not silence that attribute,
// so a result ignored on purpose is handed to `IgnoreResult`, which says so
// at the call site.
#pragma once

#define DRAWING_NODISCARD [[nodiscard, gnu::warn_unused_result]]

namespace drawing::platform {

template <typename Result>
constexpr void IgnoreResult(const Result& /*result*/) {}

}  // namespace drawing::platform
