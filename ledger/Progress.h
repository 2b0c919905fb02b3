#pragma once
// Progress of a long operation, for a window's progress dialog.

#include <cstddef>
#include <functional>

namespace orvo {

// Called now and then with the work done so far and the whole of it (in the
// operation's own unit); returning false cancels the operation.
using ProgressCallback = std::function<bool(std::size_t done, std::size_t total)>;

}  // namespace orvo
